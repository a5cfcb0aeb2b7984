// The skin check (with either variant of the descriptor's rows), the properties text and the
// lock-mode decisions on any values: every finding is a terminated text within its record, the
// counts match, and the properties text never leaves its buffer.
#include "fuzz/fuzz_check.h"
#include "shell/kit/skin_check/rules/skin_rules.h"
#include "tests/native/test_descriptor.h"
#include "window/lock_rules.h"
#include "window/properties_text.h"

#include <fuzzer/FuzzedDataProvider.h>

#include <cstring>
#include <memory>
#include <string>

namespace {

void Text(FuzzedDataProvider* input, char* field, size_t room) {
    const std::string text = input->ConsumeRandomLengthString(room - 1);
    std::memcpy(field, text.c_str(), text.size() + 1);
}

SkinPicture Picture(FuzzedDataProvider* input) {
    SkinPicture p;
    p.Loaded = input->ConsumeBool();
    p.HasAlpha = input->ConsumeBool();
    // The loader gives sides of 1..16384, or nothing at all.
    p.Width = p.Loaded ? input->ConsumeIntegralInRange<int32_t>(1, 16384) : 0;
    p.Height = p.Loaded ? input->ConsumeIntegralInRange<int32_t>(1, 16384) : 0;
    return p;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    FuzzedDataProvider input(data, size);
    static const char* const Unreadable[] = {"X", "Elapse", "Font", "FontColor"};
    static SettingRoles roles[2];
    const bool layered = input.ConsumeBool();
    FUZZ_CHECK(FindSettingRoles(test_descriptor::Descriptor(layered), &roles[layered], nullptr, 0));
    std::unique_ptr<SkinConfig> config(new SkinConfig());
    config->Roles = &roles[layered];
    config->SectionFound = input.ConsumeBool();
    config->ZOrder = input.ConsumeIntegral<int32_t>();
    config->LockMode = input.ConsumeIntegral<int32_t>();
    Text(&input, config->SkinPath, sizeof config->SkinPath);
    config->Background = Picture(&input);
    for (int i = 0; i < 4; ++i) {
        SkinMeterConfig& m = config->Meters[i];
        Text(&input, m.ImagePath, sizeof m.ImagePath);
        m.FramesCount = input.ConsumeIntegral<int32_t>();
        m.FramesCountWritten = input.ConsumeBool();
        m.OffsetX = input.ConsumeIntegral<int32_t>();
        m.OffsetY = input.ConsumeIntegral<int32_t>();
        Text(&input, m.TextFormat, sizeof m.TextFormat);
        m.TextdX = input.ConsumeIntegral<int32_t>();
        m.TextdY = input.ConsumeIntegral<int32_t>();
        m.Image = Picture(&input);
    }
    Text(&input, config->FontFace, sizeof config->FontFace);
    config->FontExists = input.ConsumeBool();
    config->Elapse = input.ConsumeIntegral<int32_t>();
    config->Transparency = input.ConsumeIntegral<int32_t>();
    config->LayeredAvailable = input.ConsumeBool();
    config->UnreadableCount = input.ConsumeIntegralInRange<int32_t>(0, 4);
    for (int32_t i = 0; i < config->UnreadableCount; ++i)
        config->UnreadableKeys[i] = Unreadable[i];

    std::unique_ptr<SkinReport> report(new SkinReport());
    CheckSkin(*config, report.get());
    FUZZ_CHECK(report->Count >= 0 && report->Count <= SkinFindingsMax);
    int32_t errors = 0, warnings = 0;
    for (int32_t i = 0; i < report->Count; ++i) {
        const SkinFinding& f = report->Findings[i];
        FUZZ_CHECK(strnlen(f.Text, sizeof f.Text) < sizeof f.Text && f.Text[0] != 0);
        errors += f.Severity == SkinError;
        warnings += f.Severity == SkinWarning;
    }
    FUZZ_CHECK(errors == report->Errors && warnings == report->Warnings);
    const bool startable = config->Background.Loaded && config->ZOrder >= 0 && config->ZOrder <= 2;
    if (!startable) FUZZ_CHECK(report->Errors > 0);

    const std::string name = input.ConsumeRandomLengthString(400);
    const size_t room = input.ConsumeIntegralInRange<size_t>(2, PropertiesTextSize);
    std::unique_ptr<char[]> buffer(new char[room]);
    const size_t length =
        BuildPropertiesText(buffer.get(), room, input.ConsumeBool() ? nullptr : name.c_str());
    FUZZ_CHECK(length < room && buffer[0] == '/' && buffer[length] == 0);

    const int32_t lockMode = input.ConsumeIntegral<int32_t>();
    const HitDecision hit = LockModeHitTest(lockMode, input.ConsumeBool());
    FUZZ_CHECK(hit.Answer == HitNowhere || hit.Answer == HitClient || hit.Answer == HitCaption);
    return 0;
}
