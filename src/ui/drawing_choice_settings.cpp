#include "ui/drawing_choice_settings.h"

#include <QFile>
#include <QSettings>

namespace pixdraft {

std::unique_ptr<QSettings> UserSettings() {
  return std::make_unique<QSettings>(QSettings::IniFormat, QSettings::UserScope,
                                     QStringLiteral("PixDraft"), QStringLiteral("PixDraft"));
}

DrawingChoice ReadDrawingChoice(QSettings& settings) {
  const DrawingChoice plain;
  settings.beginGroup(QStringLiteral("drawing"));
  DrawingChoice choice;
  const auto text = [&](const char* key, const std::string& fallback) {
    return settings.value(QLatin1String(key), QString::fromStdString(fallback))
        .toString()
        .toStdString();
  };
  choice.profile = text("profile", plain.profile);
  choice.pixelSize = text("pixelSize", plain.pixelSize);
  choice.units = text("units", plain.units);
  choice.leaveOutTransparent =
      settings.value(QStringLiteral("leaveOutTransparent"), false).toBool();
  choice.colours = settings.value(QStringLiteral("colours"), 0).toInt();
  // A file name is bytes, which a QString keeps as the file system's encoding decodes them.
  choice.palette =
      QFile::encodeName(settings.value(QStringLiteral("palette")).toString()).toStdString();
  choice.layers = settings.value(QStringLiteral("layers"), false).toBool();
  choice.counts = settings.value(QStringLiteral("counts"), false).toBool();
  settings.endGroup();
  return ChoiceProblem(choice) ? plain : choice;
}

void WriteDrawingChoice(QSettings& settings, const DrawingChoice& choice) {
  settings.beginGroup(QStringLiteral("drawing"));
  settings.setValue(QStringLiteral("profile"), QString::fromStdString(choice.profile));
  settings.setValue(QStringLiteral("pixelSize"), QString::fromStdString(choice.pixelSize));
  settings.setValue(QStringLiteral("units"), QString::fromStdString(choice.units));
  settings.setValue(QStringLiteral("leaveOutTransparent"), choice.leaveOutTransparent);
  settings.setValue(QStringLiteral("colours"), choice.colours);
  settings.setValue(QStringLiteral("palette"), QFile::decodeName(choice.palette.c_str()));
  settings.setValue(QStringLiteral("layers"), choice.layers);
  settings.setValue(QStringLiteral("counts"), choice.counts);
  settings.endGroup();
  settings.sync();
}

}  // namespace pixdraft
