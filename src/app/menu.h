// The pause menu: its three screens (the top, controls, assists), the item the cursor is on, a
// wait for the key or button to bind, and how it all looks, in picture pixels. What it changes
// goes through its host, the player's desk.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "app/settings.h"
#include "platform/renderer.h"

class MenuHost {
public:
    virtual const Settings& Current() const = 0;
    // The player's change: played with at once and kept in the settings file. `apply` sets
    // values (it does not flip them): the run's settings may differ from the kept ones.
    virtual void Adjust(const std::function<void(Settings&)>& apply) = 0;
    virtual void SwitchFullscreen() = 0;
    virtual void Resume() = 0;
    virtual void Quit() = 0;

protected:
    ~MenuHost() = default;
};

enum class MenuKey { Up, Down, Left, Right, Choose, Back, ClearKeys, ClearPads };

enum class MenuScreen { Top, Controls, Assists };

// One item as laid out: its label, and the row the mouse finds it by.
struct MenuRow {
    std::string label;
    plat::FillRect area;  // the row, highlighted when the cursor is on it
    int labelX = 0, labelY = 0, scale = 0;
    int valueLeft = 0, valueRight = 0;  // a value's span (0, 0 for none): its halves step it
};

class Menu {
public:
    // The top screen, the cursor on Resume.
    void Open();
    void Press(MenuKey key, MenuHost& host);

    // Waiting for the key or pad control to bind to an input.
    bool Waiting() const { return waitingFor_ >= 0; }
    // A key (DirectInput scan code) or pad control while waiting: Escape cancels, a reserved
    // one is refused with a line saying so, any other is bound.
    void TakeKey(uint8_t key, MenuHost& host);
    void TakePad(int control, MenuHost& host);
    void CancelWait();

    // The mouse, in picture pixels: over an item it moves the cursor there; a click chooses the
    // item, or steps a value by the half of it clicked.
    void PointAt(int x, int y);
    void Click(int x, int y, MenuHost& host);

    // The menu drawn over the shaded picture, laid out anew from the current settings.
    const std::vector<plat::FillRect>& Picture(const Settings& current);
    // The rows as last laid out, and where the cursor is.
    const std::vector<MenuRow>& Rows() const { return rows_; }
    MenuScreen Screen() const { return screen_; }
    int Cursor() const { return cursor_; }
    const std::string& Message() const { return message_; }

private:
    void Go(MenuScreen screen, int cursor);
    void Step(int item, int direction, MenuHost& host);
    void Choose(int item, MenuHost& host);
    int ItemAt(int x, int y) const;
    int Count() const;
    int ItemOf(int index) const;
    void Lay();

    MenuScreen screen_ = MenuScreen::Top;
    int cursor_ = 0;
    int waitingFor_ = -1;  // the input a key or button is awaited for
    std::string message_;
    std::vector<MenuRow> rows_;
    std::vector<plat::FillRect> picture_;
};
