#pragma once
class QWidget;

// Buttons of a page act only when clicked or chosen by their own key: Enter
// in a text box does not press a "default" button.
void noDefaultButtons(QWidget* page);
