#include "message_boxes.h"

#include <QApplication>
#include <QMessageBox>
#include <QPushButton>

namespace pixdraft {
namespace {

// Plain text, so a path holding "<" is shown as it is; a lone "\r" would show as a stray mark.
void SetText(QMessageBox& box, QString text) {
  box.setTextFormat(Qt::PlainText);
  box.setText(text.replace(QStringLiteral("\r\n"), QStringLiteral("\n")));
}

}  // namespace

void MessageBoxes::ShowMessage(const QString& text) {
  QMessageBox box(QMessageBox::NoIcon, QStringLiteral("PixDraft"), QString(), QMessageBox::NoButton,
                  QApplication::activeWindow());
  SetText(box, text);
  // The program's own "OK", not Qt's translated one.
  QPushButton* ok = box.addButton(QStringLiteral("OK"), QMessageBox::AcceptRole);
  box.setDefaultButton(ok);
  box.setEscapeButton(ok);
  Run(box);
}

void MessageBoxes::ShowError(const QString& text) {
  QMessageBox box(QMessageBox::Critical, QStringLiteral("PixDraft"), QString(), QMessageBox::Ok,
                  QApplication::activeWindow());
  SetText(box, text);
  Run(box);
}

void MessageBoxes::Run(QMessageBox& box) { box.exec(); }

}  // namespace pixdraft
