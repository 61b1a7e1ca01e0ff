#include "app/window_caption.h"

#include "app/app_wiring.h"
#include "app/apply_language.h"
#include "document/system_text.h"

namespace kestrum {

void UpdateWindowCaption(AppState& state) {
    state.View.WindowCaption =
        MainWindowCaption(SystemText(state.Startup.Files.ExeBaseName),
                          SystemText(ProtocolFileTitle(state.ProtocolFiles, state.Settings())));
    state.View.Changed();
}

void SetWindowCursor(AppWiring& wiring, bool hourglass) {
    if (wiring.Services.BusyCursor) wiring.Services.BusyCursor(hourglass);
    wiring.Services.Pump.ProcessMessages();
}

}  // namespace kestrum
