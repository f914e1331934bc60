// The program's windows, created once at start-up in a fixed order (the main
// menu first) and kept until exit, and the one moist-air library they share.
// The program itself creates the menu alone, shows it, and the others in
// their order as soon as the menu has been painted (or first asked for).
#pragma once

#include "airtreat/TreatmentCalc.h"
#include "psychro/ID_lib.h"

#include <QDialog>
#include <functional>
#include <memory>
#include <vector>

class Form_main;
class Form_message;
class Form_Advanced;
class Form_ZL_Duct;
class Form_BZL_Set;
class Form_JZSet_pipe;
class Form_pipe_DN;
class Form_Pipe_Set;
class Form_ZL_pipe;
class Form_wea;
class Form_Air_treat;
class Form_atm;
class Form_G;
class Form_IDTu_Treat;
class Form_id;
class Form_IDTu;
class Form_unit;
class Form_PMV;

// Calls then once the window's first paint has been put on the screen (the
// paint's flush comes first); calls made for one window run in the order
// opposite to their registration.
void RunAfterFirstPaint(QWidget* window, std::function<void()> then);

struct AppWindows {
    enum class Creation {
        All,              // every window, now
        AfterMenuPainted, // the main menu now, the others after its first paint
    };
    explicit AppWindows(Creation creation = Creation::All);
    ~AppWindows();
    AppWindows(const AppWindows&) = delete;
    AppWindows& operator=(const AppWindows&) = delete;

    // Creates the windows after the main menu, in their order, unless they
    // are there already; the menu's buttons are then attached to them.
    void createRest();

    // The program's library: its messages are error boxes over the active window.
    ID_lib idLib;
    // The last complete air treatment calculation, which the treatment chart
    // view draws.
    TreatmentResult treatment;
    Form_main* main = nullptr;
    Form_Advanced* ductAdvanced = nullptr;
    Form_message* message = nullptr;
    Form_ZL_Duct* duct = nullptr;
    Form_BZL_Set* pipeSizeSetting = nullptr;
    Form_JZSet_pipe* pipeCoefficients = nullptr;
    Form_pipe_DN* pipeSize = nullptr;
    Form_Pipe_Set* pipeTypes = nullptr;
    Form_ZL_pipe* pipe = nullptr;
    Form_wea* wea = nullptr;
    Form_Air_treat* airTreat = nullptr;
    Form_atm* atm = nullptr;
    Form_G* airFlows = nullptr;
    Form_IDTu_Treat* treatChart = nullptr;
    Form_IDTu* chart = nullptr;
    Form_unit* unit = nullptr;
    Form_id* id = nullptr;
    Form_PMV* pmv = nullptr;

private:
    // Every window in creation order; destroyed in reverse.
    std::vector<std::unique_ptr<QDialog>> owned_;
    template <class W, class... Args> W* create(Args&&... args);
};

// Moves a window to the middle of the screen it is on.
void CenterOnScreen(QWidget* window);
