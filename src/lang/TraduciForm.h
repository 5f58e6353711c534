// Window translation: a window's caption and tag, and the caption, tool tip
// and tag of each of its controls, from the language file of the current
// language, found by object names alone.
#pragma once

class QWidget;

// Keys, in the section named by the window's object name W:
//   W.Caption, W.Tag                    the window (a window without caption keeps none)
//   C.Caption, C.ToolTipText, C.Tag     control C; C(i).… for member i of a control array
//   C.TabCaption(t)                     tab t of a tabbed control
//   C.AccessibleName                    what a screen reader calls control C,
//                                       where no label beside it says it
// A control's caption is its text (labels, buttons, check boxes) or title
// (group boxes); its tag is the dynamic property "Tag"; a control array member
// carries its index in the dynamic property "index". Lookups that fail leave
// the texts as they are. No events are processed while a window is translated.
// Then every control a screen reader stops at (whatever the keyboard reaches,
// and every box, list, button and picture) gets the name it says, in the same
// language: its C.AccessibleName, else its label (a buddy, or the label at its
// left or just above), a button's caption, or the tool tip of a picture; the
// tool tip is its description.
void TraduciForm(QWidget* finestra);
