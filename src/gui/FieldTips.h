#pragma once

class QWidget;

// Every field of the dialogs says what it asks for when the pointer rests on it. The tips are
// kept in one table by form and field, and given to a dialog when it is first shown, in the
// window's language; a field that has a tip of its own in its form keeps it.
// Installs the tips for every dialog shown while owner lives.
void installFieldTips(QWidget& owner);
// Gives the tips to a form's fields now.
void applyFieldTips(QWidget& form);
