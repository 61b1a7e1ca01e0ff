#include "app/gui/app_session.h"

#include <clocale>

#include "platform/app_data.h"
#include "platform/file_sync.h"
#include "platform/locale_info.h"
#include "platform/program_file.h"
#include "platform/qt/qt_message_boxes.h"

namespace kestrum {

AppSession StartSession() {
    std::setlocale(LC_NUMERIC, "C");
    AppSession session;
    session.Markers = CreateSystemInstanceMarkers();
    StartupInputs inputs;
    inputs.Locale = QueryUserLocale();
    inputs.ProgramPath = RunningProgramPath();
    inputs.AppDataFolder = ApplicationDataFolder();
    inputs.SyncToDisk = SyncToDisk;
    session.State.Startup = StartUp(inputs, *session.Markers);
    return session;
}

bool FinishSession(AppSession& session, QWidget* dialogParent, ScreenPoint dialogOrigin) {
    if (session.State.Startup.ShutDownDone) return false;
    QtMessageBoxes messages(dialogParent);
    return ShutDown(session.State.Startup, *session.Markers, messages, dialogOrigin);
}

}  // namespace kestrum
