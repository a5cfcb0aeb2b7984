// The settings dialog's pages: one per group of rows, so that no page needs
// scrolling; a group longer than a page continues on a page of its own.
#pragma once

#include "shell/skin_files/rules/descriptor_view.h"

struct SettingsPage {
    char Title[80];    // the group's caption; "General" for rows before any group
    int32_t FirstRow;  // the first row shown on the page
    int32_t EndRow;    // one past the last
    int32_t HeaderRow; // the group header's row, or -1
};

const int32_t SettingsPagesMax = DescriptorRowsMax + 1;

// Fills pages in row order and answers their number. A group header with no
// rows still gets its page, so that every row of the descriptor is shown.
int32_t BuildSettingsPages(const PluginInfo& descriptor, int32_t rowsPerPage, SettingsPage* pages,
                           int32_t maxPages);
