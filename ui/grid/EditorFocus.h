#pragma once

#include <functional>

class QWidget;

// Whether the widget is the editor or lies within it, its pop-up lists and menus included.
bool IsWithinEditor(const QWidget* editor, const QWidget* widget);

// Calls onLeave when the keyboard focus moves from within the editor to anywhere else (another
// widget, or no widget when the window loses the focus). A pop-up of the editor's own, such as a
// combo's list, keeps the focus within it.
void WhenFocusLeaves(QWidget* editor, std::function<void()> onLeave);
