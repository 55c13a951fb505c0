#pragma once

#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

namespace orvalis {

// SHA-256 of bytes fed in pieces, as the tables of a run are written (OpenSSL's libcrypto).
class Sha256 {
public:
    Sha256();
    ~Sha256();
    Sha256(const Sha256&) = delete;
    Sha256& operator=(const Sha256&) = delete;

    void add(std::string_view bytes);
    // The digest of everything added so far, as 64 lower-case hex digits; adding may go on.
    std::string hex() const;

private:
    struct State;
    std::unique_ptr<State> state_;
};

// The digest of a whole file; nullopt when it cannot be read.
std::optional<std::string> sha256OfFile(const std::filesystem::path& path);

}  // namespace orvalis
