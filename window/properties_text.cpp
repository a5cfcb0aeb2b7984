#include "window/properties_text.h"

size_t BuildPropertiesText(char* buffer, size_t size, const char* name) {
    size_t length = 0;
    buffer[length++] = '/';
    if (name) {
        while (length + 1 < size && *name)
            buffer[length++] = *name++;
    }
    buffer[length] = '\0';
    return length;
}
