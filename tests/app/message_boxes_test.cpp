// The program's message boxes as Qt shows them on the offscreen platform, looked at instead of
// read by a person, and answered with Esc.
#include "app/message_boxes.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QLabel>
#include <QLayout>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>

#include "qt_application.h"

// Readable failures.
void PrintTo(const QString& text, std::ostream* out) { *out << '"' << text.toStdString() << '"'; }
void PrintTo(const QStringList& texts, std::ostream* out) {
  *out << '{' << texts.join(QStringLiteral(", ")).toStdString() << '}';
}

namespace pixdraft {
namespace {

testing::Environment* const kQt =
    testing::AddGlobalTestEnvironment(new QtApplication<QApplication>);

class BoxesAnsweredWithEscape : public MessageBoxes {
 public:
  struct Seen {
    QString title;
    QString text;
    QMessageBox::Icon icon;
    QStringList buttons;  // each as Describe gives it
    QString answer;       // the button Esc pressed
    bool answerIsDefault;
    int textIndent;  // from the box's left margin to the text, while shown
    int width;       // while shown
  };
  std::vector<Seen> seen;

  // What sets one button apart from another to the eye and to the keyboard.
  static QString Describe(const QMessageBox& box, QAbstractButton* button) {
    return QStringLiteral("%1, role %2, %3, standard %4")
        .arg(button->text())
        .arg(int(box.buttonRole(button)))
        .arg(button->icon().isNull() ? "no icon" : "icon")
        .arg(int(box.standardButton(button)));
  }

 protected:
  void Run(QMessageBox& box) override {
    int indent = -1, width = -1;
    QMetaObject::invokeMethod(
        &box,
        [&box, &indent, &width] {
          width = box.width();
          for (const QLabel* label : box.findChildren<QLabel*>()) {
            if (label->text() == box.text())
              indent = label->geometry().left() - box.layout()->contentsMargins().left();
          }
          QTest::keyClick(&box, Qt::Key_Escape);
        },
        Qt::QueuedConnection);
    box.exec();
    QStringList buttons;
    for (QAbstractButton* button : box.buttons()) buttons.push_back(Describe(box, button));
    const QAbstractButton* answer = box.clickedButton();
    seen.push_back({box.windowTitle(), box.text(), box.icon(), buttons,
                    answer ? answer->text() : QString(), answer && answer == box.defaultButton(),
                    indent, width});
  }
};

const QString kOkButton =
    QStringLiteral("OK, role %1, no icon, standard 0").arg(QMessageBox::AcceptRole);

// The width Qt gives a box of its own for `text` without an icon.
int PlainBoxWidth(const QString& text) {
  QMessageBox box(QMessageBox::NoIcon, QStringLiteral("PixDraft"), text);
  box.addButton(QStringLiteral("OK"), QMessageBox::AcceptRole);
  box.show();
  QCoreApplication::processEvents();
  return box.width();
}

TEST(MessageBoxes, MessageIsCaptionedPixDraftWithoutIconOrIndentAndTheProgramsOwnOk) {
  BoxesAnsweredWithEscape boxes;
  boxes.ShowMessage(QStringLiteral("DXF File saved to : \r\n/pics/cat.dxf"));

  ASSERT_EQ(boxes.seen.size(), 1u);
  const auto& box = boxes.seen.front();
  EXPECT_EQ(box.title, "PixDraft");
  EXPECT_EQ(box.text, "DXF File saved to : \n/pics/cat.dxf");
  EXPECT_EQ(box.icon, QMessageBox::NoIcon);
  EXPECT_EQ(box.buttons, QStringList{kOkButton});
  EXPECT_EQ(box.answer, "OK");
  EXPECT_TRUE(box.answerIsDefault);
  EXPECT_EQ(box.textIndent, 0);
  // No narrower than Qt makes it: a short text leaves the window manager room for the caption.
  EXPECT_GE(box.width, PlainBoxWidth(QStringLiteral("DXF File saved to : \n/pics/cat.dxf")));
}

// Fault: the error box had Qt's standard OK, which some styles give a check-mark icon, and the
// message the program's own without one.
TEST(MessageBoxes, ErrorIsCaptionedPixDraftWithTheErrorIconAndTheSameOk) {
  BoxesAnsweredWithEscape boxes;
  boxes.ShowError(QStringLiteral("Image non valide."));

  ASSERT_EQ(boxes.seen.size(), 1u);
  const auto& box = boxes.seen.front();
  EXPECT_EQ(box.title, "PixDraft");
  EXPECT_EQ(box.text, "Image non valide.");
  EXPECT_EQ(box.icon, QMessageBox::Critical);
  EXPECT_EQ(box.buttons, QStringList{kOkButton});
  EXPECT_EQ(box.answer, "OK");
  EXPECT_TRUE(box.answerIsDefault);
  EXPECT_GT(box.textIndent, 0);  // beside the icon
}

}  // namespace
}  // namespace pixdraft
