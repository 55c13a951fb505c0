#include "gui/SettingsBridge.h"

#include "core/io/Config.h"
#include "gui/EngineMessages.h"
#include "gui/Texts.h"
#include "gui/forms/setings.h"

#include <QFile>
#include <QStringList>

#include <cstdint>

#include <string>

namespace {

const char configFileName[] = "config.txt";

std::string toEngine(const QString& text)
{
    return text.toUtf8().toStdString();
}

// The file's bytes as they are now; empty when it cannot be read.
std::string currentConfig()
{
    QFile file(QString::fromLatin1(configFileName));
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return file.read(std::int64_t(orvalis::MaxConfigLineBytes) * 4).toStdString();
}

QString fromEngine(const std::string& text)
{
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

}  // namespace

QString SettingsBridge::load()
{
    orvalis::Settings settings;
    settings.coverValue = 1;
    settings.matrixValue = 0;
    seen_ = currentConfig();
    const orvalis::ConfigResult result = orvalis::readConfig(configFileName, settings);
    values_.samplePrefix = fromEngine(settings.samplePrefix);
    values_.samplePostString = fromEngine(settings.samplePostString);
    values_.coverValue = settings.coverValue;
    values_.matrixValue = settings.matrixValue;
    if (result.ok || result.missing)
        return QString();

    const QString defaults[] = {texts::sampleNameEmpty(), texts::postStringEmpty(),
                                texts::coverValueUsed(values_.coverValue), texts::matrixValueUsed(values_.matrixValue)};
    QStringList defaulted;
    for (int i = result.valuesRead; i < 4; ++i)
        defaulted << defaults[i];
    return texts::configIncomplete(engineMessage(result.error), defaulted);
}

bool SettingsBridge::changedOnDisk() const
{
    return currentConfig() != seen_;
}

QString SettingsBridge::save()
{
    orvalis::Settings settings;
    settings.samplePrefix = toEngine(values_.samplePrefix);
    settings.samplePostString = toEngine(values_.samplePostString);
    settings.coverValue = values_.coverValue;
    settings.matrixValue = values_.matrixValue;
    const orvalis::ConfigResult result = orvalis::writeConfig(configFileName, settings);
    if (result.ok) {
        seen_ = currentConfig();
        return QString();
    }
    return texts::configNotSaved(engineMessage(result.error));
}

void SettingsBridge::fill(setings& dialog) const
{
    dialog.setSampleName(values_.samplePrefix);
    dialog.setPostString(values_.samplePostString);
    dialog.setCover(values_.coverValue);
    dialog.setMatrix(values_.matrixValue);
}

void SettingsBridge::takeFrom(const setings& dialog)
{
    values_.samplePrefix = dialog.sampleName();
    values_.samplePostString = dialog.postString();
    values_.coverValue = dialog.cover();
    values_.matrixValue = dialog.matrix();
}
