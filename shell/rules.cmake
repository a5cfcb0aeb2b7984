# Platform-free logic of the shell stand-ins (built in both trees, tested natively).
vorlamet_core_sources(ini_text.cpp ini_values.cpp alpha_kernels.cpp wallpaper.cpp region_runs.cpp
    wallpaper_placement.cpp)
vorlamet_core_sources(png_writer.cpp host_options.cpp host_identity.cpp)
vorlamet_core_sources(skin_rules.cpp descriptor_view.cpp descriptor_roles.cpp)
# The scaled view of a skin: lengths by role, the pictures for a scale, resampling.
vorlamet_core_sources(skin_scale.cpp strip_resample.cpp)
# The settings dialog's rules: editors, values, pages and the change set.
vorlamet_core_sources(setting_editors.cpp setting_values.cpp setting_forms.cpp
    setting_changes.cpp setting_pages.cpp)
# The host kit's rules for Start with Windows and for following skin edits.
vorlamet_core_sources(autostart_rules.cpp change_settle.cpp skin_edit_rules.cpp path_spelling.cpp)
# The kit's rules for the window in front (full-screen programs, Show desktop)
# and for the click that closed a menu.
vorlamet_core_sources(front_window_rules.cpp closing_click_rules.cpp)
