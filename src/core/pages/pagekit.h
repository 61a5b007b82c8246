#pragma once
class QWidget;

// Buttons of a page act only when clicked or chosen by their own key: Enter
// in a text box does not press a "default" button.
void noDefaultButtons(QWidget* page);

// After a page is painted in its family colour, buttons keep the ordinary
// button colours (the colour is meant for the page, its frames and labels).
void plainButtonColours(QWidget* page);
