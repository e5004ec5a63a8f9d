#include "message_boxes.h"

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

// A box without an icon keeps a spacer where the icon would stand, which indents the text: drop
// it, and let the text start at the margin.
void StartTextAtMargin(QMessageBox& box) {
  auto* grid = qobject_cast<QGridLayout*>(box.layout());
  if (grid == nullptr) return;
  for (int i = grid->count() - 1; i >= 0; --i) {
    if (QSpacerItem* spacer = grid->itemAt(i)->spacerItem()) {
      grid->removeItem(spacer);
      delete spacer;
    }
  }
  for (QLabel* label : box.findChildren<QLabel*>()) {
    const int index = grid->indexOf(label);
    if (index < 0) continue;
    int row = 0, column = 0, rows = 0, columns = 0;
    grid->getItemPosition(index, &row, &column, &rows, &columns);
    grid->removeWidget(label);
    grid->addWidget(label, row, 0, rows, column + columns);
  }
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
