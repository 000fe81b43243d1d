#include <gtest/gtest.h>

#include <string>
#include <string_view>

#include "sim/core/Sha256.h"

namespace {

std::span<const std::uint8_t> AsBytes(std::string_view text)
{
    return {reinterpret_cast<const std::uint8_t*>(text.data()), text.size()};
}

// Published test vectors, and messages around the padding boundaries (55
// bytes still fit the length in one block, 56 do not, 64 fill it exactly).
TEST(Sha256, MatchesKnownDigests)
{
    struct Row {
        std::string message;
        const char* digest;
    };
    const Row rows[] = {
        {"", "e3b0c44298fc1c149afbf4c8996fb92427ae41e4649b934ca495991b7852b855"},
        {"abc", "ba7816bf8f01cfea414140de5dae2223b00361a396177a9cb410ff61f20015ad"},
        {"abcdbcdecdefdefgefghfghighijhijkijkljklmklmnlmnomnopnopq",
         "248d6a61d20638b8e5c026930c3e6039a33ce45964ff2167f6ecedd419db06c1"},
        {std::string(55, 'a'), "9f4390f8d30c2dd92ec9f095b65e2b9ae9b0a925a5258e241c9f1e910f734318"},
        {std::string(56, 'a'), "b35439a4ac6f0948b6d6f9e3c6af0f5f590ce20f1bde7090ef7970686ec6738a"},
        {std::string(63, 'a'), "7d3e74a05d7db15bce4ad9ec0658ea98e3f06eeecf16b4c6fff2da457ddc2f34"},
        {std::string(64, 'a'), "ffe054fe7ae0cb6dc65c3af9b61d5209f439851db43d0ba5997337df154668eb"},
        {std::string(1'000'000, 'a'), "cdc76e5c9914fb9281a1c7e284d73e67f1809a48a497200e046d39ccc7112cd0"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.message.size());
        EXPECT_EQ(sim::ToHex(sim::ComputeSha256(AsBytes(row.message))), row.digest);
    }
}

TEST(Sha256, PiecesInAnySplitGiveTheSameDigest)
{
    std::string message(200, '\0');
    for (std::size_t i = 0; i < message.size(); ++i)
        message[i] = static_cast<char>(i * 7 + 3);
    const sim::Sha256Digest whole = sim::ComputeSha256(AsBytes(message));

    sim::Sha256 hash;
    for (std::size_t split = 0; split <= message.size(); ++split) {
        hash.Update(AsBytes(std::string_view(message).substr(0, split)));
        hash.Update(AsBytes(std::string_view(message).substr(split)));
        // Finish starts the object over, so the next split reuses it.
        ASSERT_EQ(hash.Finish(), whole) << "split at " << split;
    }
}

} // namespace
