#include "MD5/CMD5CheckSummFile.h"
#include "MD5/CMD5CheckSummListFiles.h"

#include "TempFolder.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

namespace {

std::string ToHex(const uint8_t* digest)
{
    std::string text;
    char pair[3];
    for (uint32_t i = 0; i < MD5_DIGEST_SIZE; ++i) {
        std::snprintf(pair, sizeof(pair), "%02x", digest[i]);
        text += pair;
    }
    return text;
}

std::string DigestOf(const std::string& data, size_t pieceSize)
{
    MD5Context context;
    MD5Init(&context);
    for (size_t at = 0; at < data.size(); at += pieceSize)
        MD5Update(&context, data.data() + at, std::min(pieceSize, data.size() - at));
    uint8_t digest[MD5_DIGEST_SIZE];
    MD5Final(digest, &context);
    return ToHex(digest);
}

// The 16 binary digest bytes of the content, as the list hash feeds them.
std::string BinaryDigest(const std::string& content)
{
    MD5Context context;
    MD5Init(&context);
    MD5Update(&context, content.data(), content.size());
    uint8_t digest[MD5_DIGEST_SIZE];
    MD5Final(digest, &context);
    return std::string(reinterpret_cast<const char*>(digest), sizeof(digest));
}

std::string FileDigest(const std::string& path, HRESULT expectedResult = S_OK)
{
    CMD5CheckSummFile file(path);
    EXPECT_EQ(file.CalcCheckSumm(), expectedResult) << path;
    uint8_t digest[MD5_DIGEST_SIZE];
    file.GetCheckSumm(digest);
    return ToHex(digest);
}

std::string FolderDigest(const std::string& folder)
{
    CMD5CheckSummListFiles list;
    EXPECT_EQ(list.SetFolder(folder), S_OK);
    EXPECT_EQ(list.CalcCheckSumm(), S_OK) << folder;
    uint8_t digest[MD5_DIGEST_SIZE];
    list.GetCheckSumm(digest);
    return ToHex(digest);
}

const std::string kEmptyDigest = "d41d8cd98f00b204e9800998ecf8427e";
const std::string kZeroDigest = "00000000000000000000000000000000";

} // namespace

TEST(MD5, PublishedVectorsWholeAndInPieces)
{
    struct Vector
    {
        std::string input;
        const char* digest;
    };
    const std::vector<Vector> vectors = {
        {"", "d41d8cd98f00b204e9800998ecf8427e"},
        {"a", "0cc175b9c0f1b6a831c399e269772661"},
        {"abc", "900150983cd24fb0d6963f7d28e17f72"},
        {"message digest", "f96b697d7cb7938d525a2f31aaf161d0"},
        {"abcdefghijklmnopqrstuvwxyz", "c3fcd3d76192e4007dfb496cca67e13b"},
        {"ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789", "d174ab98d277d9f5a5611c2c9f419d9f"},
        {"12345678901234567890123456789012345678901234567890123456789012345678901234567890",
         "57edf4a22be3c955ac49da2e2107b67a"},
        {std::string(1000000, 'a'), "7707d6ae4e027c70eea2a935c2296f21"},
    };
    for (const Vector& v : vectors) {
        EXPECT_EQ(DigestOf(v.input, v.input.size() + 1), v.digest) << v.input.substr(0, 20);
        EXPECT_EQ(DigestOf(v.input, 1), v.digest) << "byte by byte";
        EXPECT_EQ(DigestOf(v.input, 63), v.digest) << "pieces across block edges";
    }
}

TEST(MD5, NullArgumentsAreRefused)
{
    MD5Context context;
    uint8_t digest[MD5_DIGEST_SIZE];
    EXPECT_EQ(MD5Init(nullptr), E_INVALIDARG);
    EXPECT_EQ(MD5Init(&context), S_OK);
    EXPECT_EQ(MD5Update(&context, nullptr, 1), E_INVALIDARG);
    EXPECT_EQ(MD5Update(&context, nullptr, 0), S_OK);
    EXPECT_EQ(MD5Final(nullptr, &context), E_INVALIDARG);
    EXPECT_EQ(MD5Final(digest, nullptr), E_INVALIDARG);
}

TEST(MD5CheckSummFile, DigestOfFilesAcrossReadBlocks)
{
    TempFolder folder;
    std::string pattern(300000, '\0'); // more than two 128 KiB reads
    for (size_t i = 0; i < pattern.size(); ++i)
        pattern[i] = static_cast<char>((i * 7) % 251);
    folder.WriteFile("pattern.bin", pattern);
    folder.WriteFile("empty.bin", "");
    folder.MakeFolder("sub");

    EXPECT_EQ(FileDigest(folder / "pattern.bin"), "7409c0cadc39c378e2bca7fefd5359b7");
    EXPECT_EQ(FileDigest(folder / "empty.bin"), kEmptyDigest);
    EXPECT_EQ(FileDigest(folder / "missing.bin", E_FAIL), kZeroDigest);
    EXPECT_EQ(FileDigest(folder / "sub", E_FAIL), kZeroDigest);

    CMD5CheckSummFile file;
    EXPECT_EQ(file.CalcCheckSummFile(folder / "empty.bin", nullptr), E_FAIL);
}

TEST(MD5CheckSummFile, CopiesAndEquality)
{
    TempFolder folder;
    folder.WriteFile("a.bin", "a");
    folder.WriteFile("b.bin", "a");
    CMD5CheckSummFile first(folder / "a.bin");
    CMD5CheckSummFile second(folder / "a.bin");
    first.CalcCheckSumm();
    EXPECT_FALSE(first == second) << "same name, other digest";
    second.CalcCheckSumm();
    EXPECT_TRUE(first == second);
    EXPECT_TRUE(first == first);

    CMD5CheckSummFile other(folder / "b.bin");
    other.CalcCheckSumm();
    EXPECT_FALSE(first == other) << "same digest, other name";
    other = first;
    EXPECT_TRUE(other == first);
    other = other;
    const CMD5CheckSummFile copy(first);
    EXPECT_TRUE(copy == first);
}

TEST(MD5CheckSummListFiles, DigestOfDigestsInByteOrder)
{
    TempFolder folder;
    EXPECT_EQ(FolderDigest(folder.Path()), kEmptyDigest);
    folder.MakeFolder("sub");
    EXPECT_EQ(FolderDigest(folder.Path()), DigestOf(std::string(16, '\0'), 16)) << "a folder counts as zeros";

    folder.WriteFile("a.txt", "first");
    folder.WriteFile("B.txt", "second");
    // Byte-wise order: "B.txt" < "a.txt" < "sub"; the subfolder is not sorted first.
    const std::string expected =
        DigestOf(BinaryDigest("second") + BinaryDigest("first") + std::string(16, '\0'), 64);
    EXPECT_EQ(FolderDigest(folder.Path()), expected);
    EXPECT_EQ(FolderDigest(folder.Path() + "\\"), expected) << "a trailing backslash joins the same paths";
}

TEST(MD5CheckSummListFiles, OrderAndContentChangeTheDigest)
{
    TempFolder folder;
    folder.WriteFile("a.txt", "first");
    folder.WriteFile("b.txt", "second");
    const std::string original = FolderDigest(folder.Path());
    EXPECT_EQ(original, DigestOf(BinaryDigest("first") + BinaryDigest("second"), 64));

    ASSERT_TRUE(MoveFileA((folder / "a.txt").c_str(), (folder / "c.txt").c_str()));
    const std::string renamed = FolderDigest(folder.Path());
    EXPECT_EQ(renamed, DigestOf(BinaryDigest("second") + BinaryDigest("first"), 64));
    EXPECT_NE(renamed, original);

    folder.WriteFile("c.txt", "firsT");
    EXPECT_NE(FolderDigest(folder.Path()), renamed);
}

TEST(MD5CheckSummListFiles, SetFolderClearsTheDigest)
{
    TempFolder folder;
    CMD5CheckSummListFiles list;
    list.SetFolder(folder.Path());
    list.CalcCheckSumm();
    uint8_t digest[MD5_DIGEST_SIZE];
    list.GetCheckSumm(digest);
    EXPECT_EQ(ToHex(digest), kEmptyDigest);
    list.SetFolder(folder.Path());
    list.GetCheckSumm(digest);
    EXPECT_EQ(ToHex(digest), kZeroDigest);
    EXPECT_EQ(list.GetCheckSumm(nullptr), E_INVALIDARG);
}
