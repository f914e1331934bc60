// The one edge of every event handler: a failure of the user action (a
// conversion error, a table or file error, a printer error) ends the action
// with the general error box and leaves the window usable. No exception
// crosses the Qt event loop.
#pragma once

#include "app/Prompts.h"

#include <QObject>
#include <QWidget>
#include <exception>

// Shows the general error box for the exception in flight.
void ShowCurrentFailure(QWidget* parent) noexcept;

template <class F> void Guarded(QWidget* parent, F&& action) noexcept
{
    try {
        action();
    } catch (...) {
        ShowCurrentFailure(parent);
    }
}

// Connects signal of sender to a handler of form, going through Guarded.
template <class Sender, class Signal, class Form>
void ConnectGuarded(Sender* sender, Signal signal, Form* form, void (Form::*handler)())
{
    QObject::connect(sender, signal, form,
                     [form, handler] { Guarded(form, [&] { (form->*handler)(); }); });
}
