#pragma once

#include "Clock.h"
#include "Desktop.h"
#include "FileDialogs.h"
#include "HotKeys.h"
#include "ModalDialogs.h"
#include "Notifications.h"
#include "PlatformInfo.h"
#include "PowerOff.h"
#include "Shell.h"
#include "Sound.h"
#include "Speech.h"
#include "UserMessages.h"
#include "WindowSystem.h"
#include "richtext/RichTextEngine.h"

namespace bp {

// The desktop services one run of the program uses. The program fills it with the Qt/X11
// implementations, tests with fakes; nothing here is owned.
struct Platform {
    IUserMessages* messages = nullptr;
    IClock* clock = nullptr;
    IDesktop* desktop = nullptr;
    IPlatformInfo* info = nullptr;
    IWindowSystem* windows = nullptr;
    IShell* shell = nullptr;
    IHotKeys* hotKeys = nullptr;
    IFileDialogs* fileDialogs = nullptr;
    IModalDialogs* modalDialogs = nullptr;
    IRichTextEngine* richText = nullptr;
    ISound* sound = nullptr;
    IPowerOff* powerOff = nullptr;
    ISpeech* speech = nullptr;
    IDesktopNotifications* notifications = nullptr;
};

}  // namespace bp
