#pragma once

// Every control window carries its table entry and its array index in its control ID, so the
// frontend finds the control a message comes from, and a program that drives the window from
// outside finds a control by what it is ("txtVysl(3)").

#include "form/controls.h"

namespace win32 {

inline constexpr int kIndexBits = 10; // rows 1..1000 fit below 1024

constexpr int ControlId(form::Control control) { return static_cast<int>(control.Which) << kIndexBits | control.Index; }

constexpr form::Control ControlOf(int id)
{
    return {static_cast<form::Id>(id >> kIndexBits), id & ((1 << kIndexBits) - 1)};
}

// The window's own controls all have IDs above this; the hidden window that screen readers
// hear announcements from has ID 0.
inline constexpr int kNoControl = 0;

} // namespace win32
