# The kit's platform-free rules: every rules/ folder under shell/, built in
# both trees and tested natively.
# What the service library and the kit read of a skin's files.
vorlamet_core_sources(shell/skin_files/rules/ini_text.cpp shell/skin_files/rules/ini_values.cpp
    shell/skin_files/rules/descriptor_view.cpp shell/skin_files/rules/descriptor_roles.cpp
    shell/skin_files/rules/setting_editors.cpp shell/skin_files/rules/setting_forms.cpp
    shell/skin_files/rules/skin_scale.cpp shell/skin_files/rules/strip_resample.cpp)
# What the two libraries and the kit draw with: alpha, regions, wallpapers.
vorlamet_core_sources(shell/pictures/rules/alpha_kernels.cpp shell/pictures/rules/region_runs.cpp
    shell/pictures/rules/wallpaper.cpp shell/pictures/rules/wallpaper_placement.cpp)
# The host program's features.
vorlamet_core_sources(shell/kit/program/rules/host_options.cpp
    shell/kit/configuration/rules/host_identity.cpp shell/kit/configuration/rules/path_spelling.cpp
    shell/kit/screenshot/rules/png_writer.cpp shell/kit/skin_check/rules/skin_rules.cpp
    shell/kit/settings_dialog/rules/setting_values.cpp
    shell/kit/settings_dialog/rules/setting_changes.cpp
    shell/kit/settings_dialog/rules/setting_pages.cpp shell/kit/autostart/rules/autostart_rules.cpp
    shell/kit/skin_follow/rules/change_settle.cpp shell/kit/skin_follow/rules/skin_edit_rules.cpp
    shell/kit/desktop/rules/front_window_rules.cpp shell/kit/desktop/rules/closing_click_rules.cpp)
