#pragma once
// The Linux desktop platform: Qt5 widgets for the window, message boxes, forms and event loop,
// ALSA for sound (platform/alsa), logind for keeping the session awake, timedated for the clock's
// time-server state, Qt's desktop services for web pages, a lock and a socket in the user's
// runtime folder for one copy per session, and the POSIX clock, file system, background files and
// private-profile store, the files' part shared with the simulated platform.
#include <QApplication>
#include <QTranslator>
#include <memory>

#include "platform/platform.h"
#include "platform/alsa/alsa_wave_out.h"
#include "platform/qt/freedesktop_services.h"
#include "platform/qt/qt_event_loop.h"
#include "platform/qt/qt_input_forms.h"
#include "platform/qt/qt_message_boxes.h"
#include "platform/qt/qt_single_instance.h"
#include "platform/qt/qt_window_host.h"
#include "platform/posix/system_clock.h"

namespace vostrel::platform::qt {

class QtPlatform final : public Platform {
public:
    QtPlatform(int argc, char** argv);
    ~QtPlatform() override;

    WindowHost& windows() override { return host_; }
    EventLoop& loop() override { return loop_; }
    MessageBoxes& messages() override { return messages_; }
    Clock& clock() override { return clock_; }
    FileSystem& files() override { return *files_; }
    ProfileStore& profile() override { return *profile_; }
    Shell& shell() override { return shell_; }
    WaveOutDriver& audio() override { return audio_; }
    PowerRequests& power() override { return power_; }
    InputForms& forms() override { return forms_; }
    BackgroundFiles& backgroundFiles() override { return *backgroundFiles_; }
    SingleInstance& instance() override { return instance_; }
    ClockSync& clockSync() override { return clockSync_; }

private:
    // QApplication keeps a reference to argc: it lives here, beside the application.
    int argc_;
    std::unique_ptr<QApplication> app_; // first in, last out: every widget goes before it
    QTranslator qtTexts_;               // Qt's own texts (the message boxes' buttons) in the desktop's language
    QtWindowHost host_;
    QtEventLoop loop_{host_};
    QtMessageBoxes messages_;
    SystemClock clock_;
    std::unique_ptr<FileSystem> files_;
    std::unique_ptr<ProfileStore> profile_;
    XdgShell shell_;
    alsa::AlsaWaveOutDriver audio_;
    LogindPower power_;
    QtInputForms forms_{host_};
    std::unique_ptr<BackgroundFiles> backgroundFiles_;
    QtSingleInstance instance_{[this] { host_.bringToFront(); }};
    TimedateClockSync clockSync_;
};

} // namespace vostrel::platform::qt
