#include "capture/trigger_button.h"

#include "settings/language_texts.h"

namespace kestrum {

void SpeedButtonTriggerOnClick(Options& options, MainView& view) {
    options.TriggerOn = !options.TriggerOn;
    view.Trigger.Down = options.TriggerOn;
    view.Trigger.Hint =
        LanguageText(options.TriggerOn ? kTextDeactivateTrigger : kTextActivateTrigger, options.Language);
    view.Changed();
}

}  // namespace kestrum
