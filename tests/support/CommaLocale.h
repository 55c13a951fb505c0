#pragma once

#include <clocale>
#include <cstdlib>
#include <filesystem>
#include <string>

namespace orvalis::test {

// Puts LC_NUMERIC in a locale that writes a decimal comma for the life of the object,
// as the GUI does under such a user locale (the toolkit calls setlocale(LC_ALL, "")).
// When no such locale is installed, one is compiled once with localedef into the
// temporary folder. active() is false when neither works; tests then skip.
class CommaLocale {
public:
    CommaLocale()
    {
        const char* current = std::setlocale(LC_NUMERIC, nullptr);
        previous_ = current ? current : "C";
        if (tryInstalled() || tryCompiled())
            active_ = true;
        else
            std::setlocale(LC_NUMERIC, previous_.c_str());
    }
    ~CommaLocale() { std::setlocale(LC_NUMERIC, previous_.c_str()); }
    CommaLocale(const CommaLocale&) = delete;
    CommaLocale& operator=(const CommaLocale&) = delete;

    bool active() const { return active_; }

private:
    static bool writesComma()
    {
        const std::lconv* conv = std::localeconv();
        return conv && conv->decimal_point && std::string(conv->decimal_point) == ",";
    }

    static bool tryInstalled()
    {
        for (const char* name : {"de_DE.UTF-8", "de_DE.utf8", "pt_BR.UTF-8", "pt_BR.utf8", "fr_FR.UTF-8"})
            if (std::setlocale(LC_NUMERIC, name) && writesComma())
                return true;
        return false;
    }

    static bool tryCompiled()
    {
        namespace fs = std::filesystem;
        std::error_code ec;
        const fs::path dir = fs::temp_directory_path(ec) / "orvalis-test-locales";
        const fs::path locale = dir / "de_DE.UTF-8";
        if (!fs::exists(locale / "LC_NUMERIC", ec)) {
            fs::create_directories(dir, ec);
            const std::string command =
                "localedef -i de_DE -f UTF-8 '" + locale.string() + "' >/dev/null 2>&1";
            if (std::system(command.c_str()) != 0 && !fs::exists(locale / "LC_NUMERIC", ec))
                return false;
        }
        ::setenv("LOCPATH", dir.c_str(), 1);
        return std::setlocale(LC_NUMERIC, "de_DE.UTF-8") && writesComma();
    }

    std::string previous_;
    bool active_ = false;
};

}  // namespace orvalis::test
