// The command table: one row per menu name, enabling and check marks into
// the view, pending rows, and names that do not exist.
#include <gtest/gtest.h>

#include <algorithm>
#include <set>
#include <stdexcept>

#include "app/app_wiring.h"
#include "app/menu_layout.h"
#include "base/command_table.h"
#include "fakes/fake_clock.h"
#include "fakes/fake_message_pump.h"
#include "fakes/fake_poll_timer.h"
#include "fakes/fake_printer.h"
#include "fakes/fake_protocol_field.h"
#include "fakes/fake_serial_ports.h"
#include "fakes/fake_settings_dialogs.h"
#include "fakes/recording_message_boxes.h"

namespace kestrum {
namespace {

TEST(CommandTable, RowsRunWhenEnabledAndShowTheirStates) {
    CommandTable table;
    bool allowed = false;
    bool mark = true;
    int runs = 0;
    table.Add({"Item", [&](const CommandCall& call) { runs += call.Tag; }, [&] { return allowed; },
               [&] { return mark; }, true});
    table.AddPending("Later");
    EXPECT_THROW(table.AddPending("Item"), std::logic_error);

    EXPECT_FALSE(table.Execute("Item", {false, 5}));  // its rule says no
    allowed = true;
    EXPECT_TRUE(table.Execute("Item", {false, 5}));
    EXPECT_EQ(runs, 5);
    EXPECT_FALSE(table.Execute("Later", {}));
    EXPECT_FALSE(table.Execute("Missing", {}));

    MainView view;
    view.DeclareItems({"Item", "Later"});
    view.Item("Later").Checked = true;
    table.ShowStates(view);
    EXPECT_TRUE(view.Item("Item").Enabled);
    EXPECT_TRUE(view.Item("Item").Checked);
    EXPECT_FALSE(view.Item("Later").Enabled);
    EXPECT_TRUE(view.Item("Later").Checked);  // no rule: the item keeps its mark
    EXPECT_THROW(view.Item("Itme"), std::out_of_range);
}

struct NoDevices : SerialDevices {
    std::vector<std::string> ListPresentSerialDevices() override { return {}; }
};

TEST(CommandTable, EveryMenuNameHasExactlyOneCommandAndEveryCommandAnItem) {
    AppState state;
    fakes::FakeSerialPorts ports;
    NoDevices devices;
    fakes::FakeClock clock;
    fakes::FakePollTimer timer(&clock);
    fakes::FakeProtocolField field;
    fakes::FakeMessagePump pump;
    RecordingMessageBoxes messages;
    fakes::FakePrinter printer;
    fakes::FakeSettingsDialogs dialogs;
    fakes::FakeHelpViewer help;
    AppWiring wiring(state,
                     {ports, devices, clock, timer, field, pump, messages, {}, {}, {}, printer, dialogs, help});

    const std::vector<std::string> items = MenuItemNames();
    std::multiset<std::string> names(items.begin(), items.end());
    for (const std::string& name : names) EXPECT_EQ(names.count(name), 1u) << name << " is in the menus twice";
    const std::vector<std::string> commands = wiring.Commands.Names();
    const std::set<std::string> commandSet(commands.begin(), commands.end());
    for (const std::string& name : items) EXPECT_TRUE(commandSet.count(name)) << name << " has no command";
    for (const std::string& name : commands) EXPECT_TRUE(names.count(name)) << name << " is in no menu";
    // Every row shows in the view without an unknown name.
    EXPECT_NO_THROW(wiring.Commands.ShowStates(state.View));
}

}  // namespace
}  // namespace kestrum
