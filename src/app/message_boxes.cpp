#include "app/message_boxes.h"

#include <QApplication>
#include <QGridLayout>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>

namespace pixdraft {
namespace {

// Plain text, so a path holding "<" is shown as it is; a lone "\r" would show as a stray mark.
void SetText(QMessageBox& box, QString text) {
  box.setTextFormat(Qt::PlainText);
  box.setText(text.replace(QStringLiteral("\r\n"), QStringLiteral("\n")));
}

// The program's own "OK", the same in every box: no icon (the style gives Qt's standard buttons
// one), the default button, and the one Esc presses.
void AddOkButton(QMessageBox& box) {
  QPushButton* ok = box.addButton(QStringLiteral("OK"), QMessageBox::AcceptRole);
  box.setDefaultButton(ok);
  box.setEscapeButton(ok);
}

// A box without an icon keeps a spacer where the icon would stand, which indents the text. The
// text moves to the margin and the spacer to its right: the box keeps its width, so a short text
// still leaves the window manager room for the caption.
void StartTextAtMargin(QMessageBox& box) {
  auto* grid = qobject_cast<QGridLayout*>(box.layout());
  if (grid == nullptr) return;
  QLabel* text = nullptr;
  for (QLabel* label : box.findChildren<QLabel*>()) {
    if (grid->indexOf(label) >= 0 && label->text() == box.text()) text = label;
  }
  QSpacerItem* spacer = nullptr;
  for (int i = 0; i < grid->count() && spacer == nullptr; ++i)
    spacer = grid->itemAt(i)->spacerItem();
  if (text == nullptr || spacer == nullptr) return;
  int row = 0, column = 0, rows = 0, columns = 0;
  grid->getItemPosition(grid->indexOf(text), &row, &column, &rows, &columns);
  grid->removeWidget(text);
  grid->removeItem(spacer);
  grid->addWidget(text, row, 0, rows, columns);
  grid->addItem(spacer, row, columns, rows, 1);
}

}  // namespace

void MessageBoxes::ShowMessage(const QString& text) {
  QMessageBox box(QMessageBox::NoIcon, QStringLiteral("PixDraft"), QString(), QMessageBox::NoButton,
                  QApplication::activeWindow());
  SetText(box, text);
  AddOkButton(box);
  StartTextAtMargin(box);
  Run(box);
}

void MessageBoxes::ShowError(const QString& text) {
  QMessageBox box(QMessageBox::Critical, QStringLiteral("PixDraft"), QString(),
                  QMessageBox::NoButton, QApplication::activeWindow());
  SetText(box, text);
  AddOkButton(box);
  Run(box);
}

void MessageBoxes::Run(QMessageBox& box) { box.exec(); }

}  // namespace pixdraft
