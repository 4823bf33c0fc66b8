#include "controls/TTntEdit.h"

#include <QFocusEvent>
#include <QKeyEvent>
#include <QVariant>

TTntEdit::TTntEdit(QWidget *parent) : QLineEdit(parent) {}

QWidget *TTntEdit::Handle() {
  HandleNeeded();
  return this;
}

void TTntEdit::HandleNeeded() {
  if (!FHandleAllocated)
    CreateWnd();
}

void TTntEdit::RecreateWnd() {
  if (!FHandleAllocated)
    return;
  DestroyWnd();
  CreateWnd();
}

bool TTntEdit::IsDesigning() const {
  for (const QWidget *w = this; w; w = w->parentWidget())
    if (w->property(DesigningProperty).toBool())
      return true;
  return false;
}

void TTntEdit::CreateWnd() { FHandleAllocated = true; }

void TTntEdit::DestroyWnd() { FHandleAllocated = false; }

void TTntEdit::DoExit() { emit OnExit(); }

void TTntEdit::KeyDown(int key, Qt::KeyboardModifiers shift) { emit OnKeyDown(key, shift); }

void TTntEdit::showEvent(QShowEvent *event) {
  QLineEdit::showEvent(event);
  HandleNeeded();
}

void TTntEdit::focusOutEvent(QFocusEvent *event) {
  QLineEdit::focusOutEvent(event);
  // Switching to another application or opening a menu or drop-down leaves
  // the edit the focused control of its window: that is no exit.
  if (event->reason() != Qt::ActiveWindowFocusReason && event->reason() != Qt::PopupFocusReason)
    DoExit();
}

void TTntEdit::keyPressEvent(QKeyEvent *event) {
  KeyDown(event->key(), event->modifiers());
  QLineEdit::keyPressEvent(event);
}
