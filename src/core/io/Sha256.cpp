#include "core/io/Sha256.h"

#include <openssl/evp.h>

#include <fstream>
#include <stdexcept>

namespace orvalis {

struct Sha256::State {
    EVP_MD_CTX* context = EVP_MD_CTX_new();
    ~State() { EVP_MD_CTX_free(context); }
};

Sha256::Sha256() : state_(std::make_unique<State>())
{
    if (!state_->context || EVP_DigestInit_ex(state_->context, EVP_sha256(), nullptr) != 1)
        throw std::runtime_error("SHA-256 is not available");
}

Sha256::~Sha256() = default;

void Sha256::add(std::string_view bytes)
{
    EVP_DigestUpdate(state_->context, bytes.data(), bytes.size());
}

std::string Sha256::hex() const
{
    // A copy is finished so that the running digest can take more bytes.
    EVP_MD_CTX* copy = EVP_MD_CTX_new();
    unsigned char digest[EVP_MAX_MD_SIZE];
    unsigned int length = 0;
    const bool ok = copy && EVP_MD_CTX_copy_ex(copy, state_->context) == 1 && EVP_DigestFinal_ex(copy, digest, &length) == 1;
    EVP_MD_CTX_free(copy);
    if (!ok)
        throw std::runtime_error("SHA-256 could not be finished");
    static const char digits[] = "0123456789abcdef";
    std::string text;
    for (unsigned int i = 0; i < length; ++i) {
        text += digits[digest[i] >> 4];
        text += digits[digest[i] & 15];
    }
    return text;
}

std::optional<std::string> sha256OfFile(const std::filesystem::path& path)
{
    std::ifstream in(path, std::ios::binary);
    if (!in)
        return std::nullopt;
    Sha256 sum;
    char buffer[1 << 16];
    while (in.read(buffer, sizeof buffer) || in.gcount() > 0)
        sum.add(std::string_view(buffer, static_cast<std::size_t>(in.gcount())));
    if (in.bad())
        return std::nullopt;
    return sum.hex();
}

}  // namespace orvalis
