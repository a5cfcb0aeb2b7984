#include "shell/kit/skin_check/rules/skin_rules.h"

#include "render/frame_select.h"
#include "settings/text_template.h"
#include "shell/skin_files/rules/setting_editors.h"
#include "shell/skin_files/rules/skin_scale.h"

#include <cstdarg>
#include <cstdio>
#include <cstring>

namespace {

void Add(SkinReport* report, SkinSeverity severity, const char* format, ...)
    __attribute__((format(printf, 3, 4)));

void Add(SkinReport* report, SkinSeverity severity, const char* format, ...) {
    if (report->Count >= SkinFindingsMax) return;
    SkinFinding& finding = report->Findings[report->Count++];
    finding.Severity = severity;
    va_list args;
    va_start(args, format);
    vsnprintf(finding.Text, sizeof finding.Text, format, args);
    va_end(args);
    if (severity == SkinError) ++report->Errors;
    if (severity == SkinWarning) ++report->Warnings;
}

// "0 (Desktop), 1 (Normal) or 2 (Always on top)": a list row's options.
void OptionsText(const EditorSpec& list, char* text, size_t size) {
    size_t used = 0;
    text[0] = 0;
    for (int32_t i = 0; i < list.OptionCount && used < size; ++i) {
        const char* separator = i == 0 ? "" : i + 1 == list.OptionCount ? " or " : ", ";
        int n =
            snprintf(text + used, size - used, "%s%d (%s)", separator, int(i), OptionName(list, i));
        if (n < 0) break;
        used += size_t(n);
    }
}

bool IsNumberMarker(const char* at) {
    return at[0] == '%' && (at[1] == 'i' || at[1] == 'u');
}

int32_t MarkerCount(const char* text) {
    int32_t count = 0;
    const int32_t length = static_cast<int32_t>(strlen(text));
    // Same scan as the splitter: a marker never starts at the last character.
    for (int32_t i = 0; i < length - 1;) {
        if (IsNumberMarker(text + i)) {
            ++count;
            i += 2;
        } else {
            ++i;
        }
    }
    return count;
}

// The last few characters that survive a cut, for telling where it falls.
void CutTail(const char* kept, char* tail, size_t size) {
    const size_t length = strlen(kept);
    const size_t shown = length < 12 ? length : 12;
    snprintf(tail, size, "%s%s", length > shown ? "..." : "", kept + length - shown);
}

bool Inside(int32_t x, int32_t y, const SkinPicture& background) {
    return x >= 0 && y >= 0 && x < background.Width && y < background.Height;
}

void CheckWindow(const SkinConfig& config, SkinReport* report) {
    const SettingRoles& roles = *config.Roles;
    if (!config.SectionFound)
        Add(report, SkinWarning,
            "[%s]: the configuration has no such section; every key takes its default",
            roles.Section);
    const EditorSpec zOrders = EditorFor(*roles.ZOrder);
    if (config.ZOrder < 0 || config.ZOrder >= zOrders.OptionCount) {
        char options[200];
        OptionsText(zOrders, options, sizeof options);
        Add(report, SkinError, "%s: %d is not %s; the meter will not start", roles.ZOrder->Key,
            config.ZOrder, options);
    }
    const EditorSpec locks = EditorFor(*roles.LockMode);
    if (config.LockMode < 0 || config.LockMode >= locks.OptionCount)
        Add(report, SkinWarning, "%s: %d is not 0 to %d; the window behaves as 0 (%s)",
            roles.LockMode->Key, config.LockMode, int(locks.OptionCount - 1), OptionName(locks, 0));

    const char* skin = roles.Background->Key;
    if (!config.SkinPath[0]) {
        Add(report, SkinError, "%s: no background picture is named; the meter will not start",
            skin);
    } else if (static_cast<int32_t>(strlen(config.SkinPath)) > SkinPathRead) {
        Add(report, SkinError,
            "%s: the path is %d characters; the plug-in reads only the first %d and the "
            "meter will not start",
            skin, static_cast<int32_t>(strlen(config.SkinPath)), SkinPathRead);
    } else if (!config.Background.Loaded) {
        Add(report, SkinError,
            "%s: cannot load picture \"%s\" (missing or unreadable); the meter will not start",
            skin, config.SkinPath);
    }
}

// What start-up changes to fit the system: the same order of decisions as
// the plug-in's start.
void CheckAdjustments(const SkinConfig& config, SkinReport* report) {
    const SettingRoles& roles = *config.Roles;
    const EditorSpec zOrders = EditorFor(*roles.ZOrder);
    if (config.ZOrder < 0 || config.ZOrder >= zOrders.OptionCount || !config.Background.Loaded)
        return;
    int32_t zOrder = config.ZOrder;
    if (config.Background.HasAlpha && !config.LayeredAvailable && zOrder != 0) {
        Add(report, SkinWarning,
            "%s: %d (%s) becomes 0 (%s) at start: the background has per-pixel alpha and this "
            "system has no layered windows",
            roles.ZOrder->Key, zOrder, OptionName(zOrders, zOrder), OptionName(zOrders, 0));
        zOrder = 0;
    }
    if (zOrder != 0 && config.LayeredAvailable) return;
    const char* why = zOrder == 0 ? "a Desktop window cannot be translucent or click-through"
                                  : "this system has no layered windows";
    const EditorSpec locks = EditorFor(*roles.LockMode);
    if (config.LockMode == GhostLockMode && GhostLockMode < locks.OptionCount)
        Add(report, SkinWarning, "%s: %d (%s) becomes 0 (%s) at start: %s", roles.LockMode->Key,
            GhostLockMode, OptionName(locks, GhostLockMode), OptionName(locks, 0), why);
    if (roles.Transparency && config.Transparency != 0)
        Add(report, SkinWarning, "%s: %d becomes 0 at start: %s", roles.Transparency->Key,
            config.Transparency, why);
}

void CheckPicture(const SkinMeterConfig& meter, const MeterRows& keys, const SkinConfig& config,
                  SkinReport* report) {
    const char* name = keys.Name;
    const char* picture = keys.Picture->Key;
    const char* framesKey = keys.FramesCount->Key;
    if (meter.FramesCountWritten && meter.FramesCount < 1)
        Add(report, SkinWarning, "%s: %d is taken as 1", framesKey, meter.FramesCount);
    if (!meter.ImagePath[0]) {
        Add(report, SkinNote, "%s: empty; the %s meter and its text are not shown", picture, name);
        return;
    }
    if (static_cast<int32_t>(strlen(meter.ImagePath)) > SkinPathRead) {
        Add(report, SkinWarning,
            "%s: the path is %d characters; the plug-in reads only the first %d and the %s "
            "meter is not shown",
            picture, static_cast<int32_t>(strlen(meter.ImagePath)), SkinPathRead, name);
        return;
    }
    if (!meter.Image.Loaded) {
        Add(report, SkinWarning,
            "%s: cannot load picture \"%s\" (missing or unreadable); the %s meter and its "
            "text are not shown",
            picture, meter.ImagePath, name);
        return;
    }
    const int32_t frames = meter.FramesCount < 1 ? 1 : meter.FramesCount;
    const int32_t frameWidth = FrameWidthFor(meter.Image.Width, frames);
    if (frameWidth == 0) {
        Add(report, SkinWarning,
            "%s: %d pixels wide cannot hold %s %d frames; the frames are 0 pixels wide and "
            "nothing shows",
            picture, meter.Image.Width, framesKey, frames);
        return;
    }
    if (meter.Image.Width % frames != 0)
        Add(report, SkinWarning,
            "%s: width %d is not divisible by %s %d; frames are %d pixels wide and columns "
            "%d-%d never show",
            picture, meter.Image.Width, framesKey, frames, frameWidth, frames * frameWidth,
            meter.Image.Width - 1);
    const SkinPicture& background = config.Background;
    if (!background.Loaded) return;
    const int64_t right = int64_t(meter.OffsetX) + frameWidth;
    const int64_t bottom = int64_t(meter.OffsetY) + meter.Image.Height;
    if (meter.OffsetX < 0 || meter.OffsetY < 0 || right > background.Width ||
        bottom > background.Height)
        Add(report, SkinWarning,
            "%s/%s: the frame at (%d, %d), %d x %d, reaches outside the background (%d x %d); "
            "the part outside is cut off",
            keys.OffsetX->Key, keys.OffsetY->Key, meter.OffsetX, meter.OffsetY, frameWidth,
            meter.Image.Height, background.Width, background.Height);
}

void CheckText(const SkinMeterConfig& meter, const MeterRows& keys, const SkinConfig& config,
               SkinReport* report) {
    const char* name = keys.Template->Key;
    if (!meter.TextFormat[0]) return; // no text: nothing to judge
    // The plug-in reads the template into a 200-byte buffer: the rest is cut.
    char read[SkinTemplateRead + 1];
    const size_t kept = strnlen(meter.TextFormat, SkinTemplateRead);
    memcpy(read, meter.TextFormat, kept);
    read[kept] = 0;
    const int32_t written = static_cast<int32_t>(strlen(meter.TextFormat));
    if (written > SkinTemplateRead) {
        char tail[20];
        CutTail(read, tail, sizeof tail);
        Add(report, SkinWarning, "%s: %d characters; the plug-in reads the first %d, up to \"%s\"",
            name, written, SkinTemplateRead, tail);
    }
    int32_t prefixLength = 0, postfixLength = 0;
    TemplatePartLengths(read, &prefixLength, &postfixLength);
    char prefix[TemplatePartMax + 1], postfix[TemplatePartMax + 1];
    SplitTextTemplate(read, prefix, postfix);
    const struct {
        const char* Part;
        int32_t Length;
        const char* Kept;
    } parts[] = {{"before", prefixLength, prefix}, {"after", postfixLength, postfix}};
    for (const auto& part : parts) {
        if (part.Length <= TemplatePartMax) continue;
        char tail[20];
        CutTail(part.Kept, tail, sizeof tail);
        Add(report, SkinWarning,
            "%s: the text %s the number is %d characters; only the first %d show, "
            "cut after \"%s\"",
            name, part.Part, part.Length, TemplatePartMax, tail);
    }
    if (MarkerCount(read) > 1)
        Add(report, SkinNote,
            "%s: only the first %%i or %%u shows the number; the later markers are "
            "dropped",
            name);
    if (config.Background.Loaded && !Inside(meter.TextdX, meter.TextdY, config.Background))
        Add(report, SkinWarning,
            "%s/%s: the text point (%d, %d) lies outside the background (%d x %d); "
            "the text centred on it is cut off",
            keys.TextX->Key, keys.TextY->Key, meter.TextdX, meter.TextdY, config.Background.Width,
            config.Background.Height);
}

// A value outside the range the settings dialog offers for its row.
void CheckRange(const SettingRow* row, int32_t value, const char* unit, SkinReport* report) {
    if (!row) return;
    const EditorSpec spec = EditorFor(*row);
    if (spec.Kind != SettingEditor::RangedNumber || (value >= spec.Min && value <= spec.Max))
        return;
    Add(report, SkinWarning, "%s: %d%s is outside %d-%d, the range the settings dialog offers",
        row->Key, value, unit, spec.Min, spec.Max);
}

// A full-scale speed is a link speed in bits per second, as adapters report
// them: a bar rises 1 % per thousandth of it in bytes per second, so it is
// full at a tenth of it in bytes per second.
void CheckMaxNetSpeed(const SettingRow* row, int32_t value, SkinReport* report) {
    if (!row || value == 0) return;
    if (value < 0) {
        Add(report, SkinNote,
            "%s: %d counts as 0: the fastest moving adapter's link speed sets the scale", row->Key,
            value);
    } else if (value < 1000) {
        Add(report, SkinWarning,
            "%s: %d is below 1000, so the network bars never move; the value is a link "
            "speed in bits per second (100000000 for 100 Mbit/s)",
            row->Key, value);
    } else {
        const uint32_t full = static_cast<uint32_t>(value) / 10; // bytes per second
        const char* units[] = {"B/s", "KB/s", "MB/s"};
        uint32_t scale = 1;
        int unit = 0;
        while (unit < 2 && full >= scale * 1000) {
            scale *= 1000;
            ++unit;
        }
        Add(report, SkinNote,
            "%s: %d bits per second: a network bar is full at %u.%u %s (a tenth of it in "
            "bytes per second)",
            row->Key, value, full / scale, full % scale * 10 / scale, units[unit]);
    }
}

void CheckOther(const SkinConfig& config, SkinReport* report) {
    const SettingRoles& roles = *config.Roles;
    if (!config.FontExists)
        Add(report, SkinWarning,
            "%s: no font named \"%s\" on this system; the texts are drawn in a substitute",
            roles.Font->Key, config.FontFace);
    CheckRange(roles.Elapse, config.Elapse, " ms", report);
    CheckMaxNetSpeed(roles.MaxNetSpeed, config.MaxNetSpeed, report);
    CheckRange(roles.Transparency, config.Transparency, "", report);
    for (int32_t i = 0; i < config.UnreadableCount && i < 16; ++i)
        Add(report, SkinWarning, "%s: the value cannot be read; the default is used",
            config.UnreadableKeys[i]);
}

} // namespace

void TemplatePartLengths(const char* textFormat, int32_t* prefixLength, int32_t* postfixLength) {
    int32_t before = 0, after = 0;
    bool hasNumber = false;
    const int32_t length = static_cast<int32_t>(strlen(textFormat));
    int32_t position = 0;
    while (position < length - 1) {
        if (IsNumberMarker(textFormat + position)) {
            hasNumber = true;
            position += 2;
        } else {
            ++(hasNumber ? after : before);
            ++position;
        }
    }
    if (textFormat[position]) ++(hasNumber ? after : before);
    *prefixLength = before;
    *postfixLength = after;
}

namespace {

// A picture made for a scale must be the 1x one's frames at that scale: the
// same frame count (the configuration's), each frame and the height in
// proportion (a pixel either way for the author's rounding), and alpha
// where the 1x one has it, or the meter would change its kind of window
// with the scale.
void CheckScaledSet(const char* key, const char* path, const SkinPicture& base, int32_t frames,
                    const SkinScaledSet& set, SkinReport* report) {
    if (frames < 1) frames = 1;
    for (int32_t i = 0; i < SkinScaledPictures; ++i) {
        if (!set.Present[i]) continue;
        const PictureScale& scale = PictureScales[i + 1];
        const int32_t percent = scale.Dpi * 100 / ScaleBaseDpi;
        char name[600];
        PictureNameForScale(path, scale.Suffix, name, sizeof name);
        const SkinPicture& picture = set.Picture[i];
        if (!picture.Loaded) {
            Add(report, SkinWarning,
                "%s: cannot load picture \"%s\" made for %d %%; the meter is shown from "
                "another one",
                key, name, percent);
            continue;
        }
        if (!base.Loaded) continue;
        if (picture.HasAlpha != base.HasAlpha)
            Add(report, SkinWarning,
                "%s: \"%s\" %s alpha and \"%s\" %s; the meter's window "
                "changes its kind with the scale",
                key, name, picture.HasAlpha ? "has" : "has no", path,
                base.HasAlpha ? "has" : "has none");
        const int32_t baseFrame = base.Width / frames;
        if (baseFrame < 1) continue; // told for the 1x picture
        const int32_t frame = ScaleLength(baseFrame, scale.Dpi);
        const int32_t height = ScaleLength(base.Height, scale.Dpi);
        const int32_t actualFrame = picture.Width / frames;
        if (actualFrame - frame > 1 || frame - actualFrame > 1 || picture.Height - height > 1 ||
            height - picture.Height > 1)
            Add(report, SkinWarning,
                "%s: \"%s\" is %d x %d; made for %d %% of \"%s\" (%d x %d, %d frame(s) of %d) "
                "it should be %d x %d (%d frame(s) of %d)",
                key, name, picture.Width, picture.Height, percent, path, base.Width, base.Height,
                frames, baseFrame, frames * frame, height, frames, frame);
    }
}

} // namespace

void CheckSkin(const SkinConfig& config, SkinReport* report) {
    report->Count = 0;
    report->Errors = 0;
    report->Warnings = 0;
    if (!config.Roles) {
        Add(report, SkinError, "the plug-in's settings rows are not known; nothing was checked");
        return;
    }
    CheckWindow(config, report);
    CheckAdjustments(config, report);
    for (int32_t i = 0; i < MeterRoleCount; ++i) {
        CheckPicture(config.Meters[i], config.Roles->Meters[i], config, report);
        CheckText(config.Meters[i], config.Roles->Meters[i], config, report);
    }
    CheckScaledSet(config.Roles->Background->Key, config.SkinPath, config.Background, 1,
                   config.BackgroundScaled, report);
    for (int32_t i = 0; i < MeterRoleCount; ++i) {
        const SkinMeterConfig& meter = config.Meters[i];
        CheckScaledSet(config.Roles->Meters[i].Picture->Key, meter.ImagePath, meter.Image,
                       meter.FramesCount, meter.ImageScaled, report);
    }
    CheckOther(config, report);
}

const char* SkinSeverityName(SkinSeverity severity) {
    switch (severity) {
    case SkinError:
        return "error";
    case SkinWarning:
        return "warning";
    default:
        return "note";
    }
}
