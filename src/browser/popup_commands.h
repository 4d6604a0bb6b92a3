#pragma once

#include <array>
#include <functional>

namespace vantor {

// The states of the list popup's items, by name; the browser changes those that follow the
// selected type and the window's menu shows them. Items in menu order (separators have none).
class PopupCommands {
public:
    enum Command {
        Copy,
        CreatableProgId,
        VbReference,
        WshReference,
        AllMembers,
        AllConstants,
        HtmlObjectTag,
        TypeInfo,
        AllowInstantiation,
        AutoBrowse,
        ShowHidden,
        ExportTypeLibs,
        ExportProgIds,
        DefinitionDetails,
        DefineLibName,
        ChmKeyword,
        Count
    };
    struct State {
        bool enabled = true;
        bool visible = true;
        bool operator==(const State&) const = default;
    };

    const State& state(int command) const { return states_[command]; }
    void setEnabled(int command, bool enabled) {
        change(command, {enabled, states_[command].visible});
    }
    void setVisible(int command, bool visible) {
        change(command, {states_[command].enabled, visible});
    }
    // Called with the command's number after each change.
    void onChange(std::function<void(int)> changed) { changed_ = std::move(changed); }

private:
    void change(int command, State s) {
        if (states_[command] == s)
            return;
        states_[command] = s;
        if (changed_)
            changed_(command);
    }
    std::array<State, Count> states_{};
    std::function<void(int)> changed_;
};

} // namespace vantor
