#include "shell/kit/skin_follow/skin_watcher.h"

#include "shell/kit/configuration/config_path.h"
#include "shell/kit/configuration/kit_choices.h"
#include "shell/kit/log/host_log.h"
#include "shell/kit/session/kit_messages.h"
#include "shell/kit/session/plugin_session.h"
#include "shell/kit/skin_check/skin_check.h"
#include "shell/kit/skin_follow/folder_watch.h"
#include "shell/kit/skin_follow/rules/change_settle.h"
#include "shell/kit/skin_follow/rules/skin_edit_rules.h"
#include "shell/kit/skin_follow/skin_snapshot.h"

#include <string>

namespace {

struct SkinWatch {
    HWND Shell;
    TellSkinFinding Tell;
    bool On;
    bool RolesKnown;
    SettingRoles Roles;
    SkinEditKeys Keys;
    SkinSnapshot Running; // what the plug-in last started with
    bool RejectedKnown;
    SkinSnapshot Rejected; // the last files the check refused
    SettleClock Clock;
    int32_t WaitingRounds; // stillnesses a file was still being written
    SkinReport Report;
};

SkinWatch Watch;
// About ten seconds of waiting for a writer to close a file.
const int32_t MaxWaitingRounds = 30;

const std::string& ConfigPath() {
    return HostSession().ConfigPath;
}

bool KnowRoles() {
    if (Watch.RolesKnown) return true;
    const PluginInfo* descriptor =
        static_cast<const PluginInfo*>(HostSession().Plugin.GetPluginInfo());
    char reason[200];
    if (!descriptor || !FindSettingRoles(*descriptor, &Watch.Roles, reason, sizeof reason))
        return false;
    Watch.Keys = {Watch.Roles.Section, Watch.Roles.X->Key, Watch.Roles.Y->Key};
    Watch.RolesKnown = true;
    return true;
}

// Where the meter is, in the numbers the plug-in saves: screen coordinates
// at every level, a Desktop-level child's too.
MeterPlace PlaceOfMeter() {
    MeterPlace place = {false, 0, 0};
    HWND meter = HostSession().Record.PluginWnd;
    RECT rect;
    if (!meter || !IsWindow(meter) || !GetWindowRect(meter, &rect)) return place;
    place = {true, int32_t(rect.left), int32_t(rect.top)};
    return place;
}

int32_t WatchSnapshotFiles(const SkinSnapshot& files) {
    std::string paths[1 + SkinPictureCount] = {ConfigPath()};
    for (int32_t i = 0; i < SkinPictureCount; ++i)
        paths[i + 1] = files.PicturePaths[i];
    return WatchFiles(paths, 1 + SkinPictureCount);
}

bool SameFiles(const SkinSnapshot& a, const SkinSnapshot& b) {
    return JudgeSkinEdit(a, b, Watch.Keys, MeterPlace{false, 0, 0}) == SkinEdit::Unchanged;
}

// The balloon's text and one log line each for the first findings of one
// severity ("error" or "warning").
std::string TellFindings(SkinSeverity severity, const char* name) {
    const SkinReport& report = Watch.Report;
    std::string balloon;
    int32_t told = 0;
    for (int32_t i = 0; i < report.Count && told < 3; ++i) {
        if (report.Findings[i].Severity != severity) continue;
        HostLog("SkinChange %s: %s", name, report.Findings[i].Text);
        if (told++) balloon += "\n";
        balloon += report.Findings[i].Text;
    }
    return balloon;
}

// The check refused the files: the meter runs on; the balloon and the log
// give the first errors.
void TellErrors(const SkinSnapshot& now) {
    Watch.Rejected = now;
    Watch.RejectedKnown = true;
    HostLog("SkinChange kept the running skin: %d error(s)", int(Watch.Report.Errors));
    const std::string balloon = TellFindings(SkinError, "error");
    if (Watch.Tell)
        Watch.Tell("The skin has errors; the meter shows it as it was", balloon.c_str());
}

// The meter reloads, but shows something other than written (a bar whose
// picture is missing is hidden): whoever saved the file learns why.
void TellWarnings() {
    HostLog("SkinChange reload shows it with %d warning(s)", int(Watch.Report.Warnings));
    const std::string balloon = TellFindings(SkinWarning, "warning");
    if (Watch.Tell) Watch.Tell("The skin was reloaded with warnings", balloon.c_str());
}

// The files have been still: look at them.
void LookAtFiles() {
    static SkinSnapshot now;
    static SkinSnapshot after;
    const DWORD started = GetTickCount();
    TakeSkinSnapshot(ConfigPath(), Watch.Roles, &now);
    WatchSnapshotFiles(now);
    if (SkinFilesBeingWritten(ConfigPath(), now)) {
        // Looked at again after each stillness, but not for ever: a program
        // that keeps a file open is noticed again by its next change.
        if (Watch.WaitingRounds++ == 0) HostLog("SkinChange waiting: a file is being written");
        if (Watch.WaitingRounds < MaxWaitingRounds) {
            NoteChange(&Watch.Clock, GetTickCount());
            return;
        }
        HostLog("SkinChange waited enough: a file stays open for writing; its next change is "
                "looked at");
        SettleDone(&Watch.Clock);
        Watch.WaitingRounds = 0;
        return;
    }
    SettleDone(&Watch.Clock);
    Watch.WaitingRounds = 0;
    if (!now.IniExists) {
        HostLog("SkinChange waiting: the configuration file is not there");
        return;
    }
    const MeterPlace place = PlaceOfMeter();
    switch (JudgeSkinEdit(Watch.Running, now, Watch.Keys, place)) {
    case SkinEdit::Unchanged:
        HostLog("SkinChange unchanged");
        return;
    case SkinEdit::OwnPlace:
        HostLog("SkinChange own position %d %d", int(place.X), int(place.Y));
        Watch.Running = now;
        return;
    case SkinEdit::Edited:
        break;
    }
    // Refused before, and changed since only by the meter's own save.
    if (Watch.RejectedKnown &&
        JudgeSkinEdit(Watch.Rejected, now, Watch.Keys, place) != SkinEdit::Edited) {
        HostLog("SkinChange still has errors");
        Watch.Rejected = now;
        return;
    }
    const PluginInfo* descriptor =
        static_cast<const PluginInfo*>(HostSession().Plugin.GetPluginInfo());
    const int status = CheckSkinFile(ConfigPath().c_str(), descriptor, &Watch.Report);
    // The check must have read what is still there: else look again once
    // the files are still.
    TakeSkinSnapshot(ConfigPath(), Watch.Roles, &after);
    if (!SameFiles(now, after)) {
        HostLog("SkinChange changed while checked; looking again");
        NoteChange(&Watch.Clock, GetTickCount());
        return;
    }
    if (status != 0) {
        TellErrors(now);
        return;
    }
    Watch.RejectedKnown = false;
    HostLog("SkinChange reload (checked in %lu ms)",
            static_cast<unsigned long>(GetTickCount() - started));
    if (Watch.Report.Warnings > 0) TellWarnings();
    PostMessageA(Watch.Shell, KitMsgRestartPlugin, 0, 0);
}

void Begin() {
    Watch.On = true;
    Watch.Clock = SettleClock{};
    const int32_t folders = WatchSnapshotFiles(Watch.Running);
    HostLog("SkinWatch on %d folder(s)", int(folders));
}

} // namespace

void NoteSkinStarting() {
    if (!KnowRoles()) return;
    TakeSkinSnapshot(ConfigPath(), Watch.Roles, &Watch.Running);
    Watch.RejectedKnown = false;
    if (Watch.On) WatchSnapshotFiles(Watch.Running);
}

void StartSkinWatch(HWND shell, TellSkinFinding tell) {
    Watch.Shell = shell;
    Watch.Tell = tell;
    if (!KnowRoles()) {
        HostLog("SkinWatch off: the plug-in's settings are not the meter's");
        return;
    }
    if (FollowSkinChosen(LongConfigPath(ConfigPath())))
        Begin();
    else
        HostLog("SkinWatch off");
}

void StopSkinWatch() {
    StopWatchingFiles();
    Watch.On = false;
    SettleDone(&Watch.Clock);
}

bool FollowingSkin() {
    return Watch.On;
}

void ChooseFollowingSkin(bool on) {
    if (!ChooseFollowSkin(LongConfigPath(ConfigPath()), on))
        HostLog("SkinWatch choice not remembered: the registry refused");
    if (on == Watch.On || !KnowRoles()) return;
    if (!on) {
        StopSkinWatch();
        HostLog("SkinWatch off");
        return;
    }
    Begin();
    // Edits made while it was off are looked at now.
    NoteChange(&Watch.Clock, GetTickCount() - SettleStillMs);
}

int32_t SkinWatchEvents(HANDLE* events, int32_t room) {
    return Watch.On ? FolderWatchEvents(events, room) : 0;
}

DWORD SkinWatchTimeout() {
    if (!Watch.On) return INFINITE;
    const uint32_t wait = SettleWait(Watch.Clock, GetTickCount());
    return wait == SettleNever ? INFINITE : DWORD(wait);
}

void SkinWatchWoke(int32_t signalled) {
    if (!Watch.On) return;
    if (signalled >= 0 && FolderWatchNotice(signalled)) NoteChange(&Watch.Clock, GetTickCount());
    if (SettleWait(Watch.Clock, GetTickCount()) == 0) LookAtFiles();
}
