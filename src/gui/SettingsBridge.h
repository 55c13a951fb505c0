#pragma once

#include <QString>

#include <string>

class setings;

// The four settings kept in config.txt.
struct WindowSettings {
    QString samplePrefix;
    QString samplePostString;
    int coverValue = 1;
    int matrixValue = 0;
};

// Holds the four settings and moves them between config.txt in the working folder
// and the settings dialog. Problems come back as the text to tell the user.
class SettingsBridge {
public:
    const WindowSettings& values() const { return values_; }
    void setValues(const WindowSettings& values) { values_ = values; }

    // Reads config.txt; values it lacks take their defaults. Empty when there is
    // nothing to tell: the file was read whole or does not exist.
    QString load();
    // Writes config.txt in four lines; empty when it was written.
    QString save();
    // Whether config.txt differs from what was last read or written here: someone else changed it.
    bool changedOnDisk() const;

    void fill(setings& dialog) const;
    void takeFrom(const setings& dialog);

private:
    WindowSettings values_;
    std::string seen_;  // config.txt as last read or written, empty when there was none
};
