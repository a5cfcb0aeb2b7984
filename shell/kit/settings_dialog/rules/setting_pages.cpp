#include "shell/kit/settings_dialog/rules/setting_pages.h"

#include <cstdio>

namespace {

void AddPage(SettingsPage* pages, int32_t maxPages, int32_t* count, const char* caption,
             int32_t part, int32_t header, int32_t first, int32_t end) {
    if (*count >= maxPages) return;
    SettingsPage& page = pages[(*count)++];
    if (part == 1)
        snprintf(page.Title, sizeof page.Title, "%s", caption);
    else
        snprintf(page.Title, sizeof page.Title, "%s (%d)", caption, int(part));
    page.FirstRow = first;
    page.EndRow = end;
    page.HeaderRow = header;
}

} // namespace

int32_t BuildSettingsPages(const PluginInfo& descriptor, int32_t rowsPerPage, SettingsPage* pages,
                           int32_t maxPages) {
    if (rowsPerPage < 1) rowsPerPage = 1;
    int32_t count = 0;
    int32_t row = 0;
    while (row < descriptor.RowCount) {
        int32_t header = -1;
        const char* caption = "General";
        if (descriptor.Rows[row].Type == RowTypeGroup) {
            header = row;
            const char* text = descriptor.Rows[row].Caption;
            caption = text && text[0] ? text : "Settings";
            ++row;
        }
        int32_t end = row;
        while (end < descriptor.RowCount && descriptor.Rows[end].Type != RowTypeGroup)
            ++end;
        int32_t part = 1;
        int32_t first = row;
        do {
            const int32_t last = end - first > rowsPerPage ? first + rowsPerPage : end;
            AddPage(pages, maxPages, &count, caption, part++, header, first, last);
            first = last;
        } while (first < end);
        row = end;
    }
    return count;
}
