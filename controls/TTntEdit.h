#pragma once
// TTntEdit: the single-line Unicode edit that TACEdit builds on, a QLineEdit
// with the hooks of a window-based edit.
//
// "The window" of the edit is the life of the edit on screen, not Qt's native
// window (child widgets have none): it is created when the edit is first shown
// or when its handle is asked for, and it lasts until a re-creation request
// destroys it in an orderly way and creates it again, or until the edit itself
// is destroyed. The handle is the widget. CreateWnd and DestroyWnd run at
// exactly those moments; an error raised by CreateWnd goes to whoever asked
// for the window (Qt's event delivery for a show, the caller of Handle()).

#include <QLineEdit>

class TTntEdit : public QLineEdit {
  Q_OBJECT

public:
  explicit TTntEdit(QWidget *parent = nullptr);

  bool HandleAllocated() const { return FHandleAllocated; }
  // Creates the window when there is none.
  QWidget *Handle();
  void HandleNeeded();
  // Destroys and creates the window again; nothing happens while there is none.
  void RecreateWnd();

  // True while the edit sits on a form that a form designer is editing: the
  // designer marks that form (or the edit) with the dynamic property below.
  bool IsDesigning() const;
  static constexpr const char *DesigningProperty = "designing";

signals:
  void OnExit();
  void OnKeyDown(int key, Qt::KeyboardModifiers shift);

protected:
  // Overrides call the base first (creation) or last (destruction).
  virtual void CreateWnd();
  virtual void DestroyWnd();
  // Focus has left the edit for another control of the window; fires OnExit.
  virtual void DoExit();
  // A key went down on the edit, before the edit handles it; fires OnKeyDown.
  virtual void KeyDown(int key, Qt::KeyboardModifiers shift);

  void showEvent(QShowEvent *event) override;
  void focusOutEvent(QFocusEvent *event) override;
  void keyPressEvent(QKeyEvent *event) override;

private:
  bool FHandleAllocated = false;
};
