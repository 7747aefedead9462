#include "FunctWorkWithFiles.h"

#include "LogCapture.h"
#include "TempFolder.h"
#include "TestComServer.h"

#include <gtest/gtest.h>

#include <objbase.h>

#include <string>
#include <vector>

namespace {

std::vector<std::string> ToStrings(const DynamicBoundsObject<DynamicString>& names)
{
    std::vector<std::string> result;
    for (uint32_t i = 0; i < names.GetCount(); ++i)
        result.emplace_back(names.GetElement(i).GetString());
    return result;
}

struct Listing
{
    HRESULT result = E_FAIL;
    std::vector<std::string> names;
    std::vector<uint32_t> attributes;
};

Listing List(const std::string& folder, const char* masks, DWORD filter)
{
    DynamicBoundsObject<DynamicString> names;
    DynamicBoundsObject<uint32_t> attributes;
    // Stale entries that the listing must drop.
    names.SetSize(1);
    attributes.SetSize(1);
    Listing listing;
    listing.result = GetListFilesInFolder(folder.c_str(), masks, names, filter, attributes);
    listing.names = ToStrings(names);
    for (uint32_t i = 0; i < attributes.GetCount(); ++i)
        listing.attributes.push_back(attributes.GetElement(i));
    return listing;
}

std::string ExecutablePath()
{
    char path[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, path, MAX_PATH);
    return path;
}

// A folder with two subfolders and files of several kinds, names chosen so that byte-wise and
// case-insensitive orders differ.
class ListingTest : public testing::Test
{
protected:
    ListingTest()
    {
        m_folder.MakeFolder("beta");
        m_folder.MakeFolder("Alpha");
        for (const char* name : {"b.bmp", "A.jpg", "c.txt", "a.bmp", ".dot.bmp", "Z.jpg"})
            m_folder.WriteFile(name, name);
    }

    TempFolder m_folder;
};

} // namespace

TEST_F(ListingTest, MasksGiveFoldersFirstThenMatchesInByteOrder)
{
    struct Case
    {
        const char* masks;
        std::vector<std::string> expected;
    };
    const std::vector<Case> cases = {
        {"*.bmp?*.jpg", {"Alpha", "beta", ".dot.bmp", "A.jpg", "Z.jpg", "a.bmp", "b.bmp"}},
        {"*.jpg", {"Alpha", "beta", "A.jpg", "Z.jpg"}},
        // A name matched by two masks appears once.
        {"a.*?*.bmp", {"Alpha", "beta", ".dot.bmp", "A.jpg", "a.bmp", "b.bmp"}},
        // An empty mask ends the list.
        {"*.txt??*.jpg", {"Alpha", "beta", "c.txt"}},
        // Subfolders are listed whatever the masks.
        {"", {"Alpha", "beta"}},
        {"*.none", {"Alpha", "beta"}},
    };
    for (const Case& c : cases) {
        const Listing listing = List(m_folder.Path(), c.masks, 0);
        EXPECT_EQ(listing.result, S_OK) << c.masks;
        EXPECT_EQ(listing.names, c.expected) << c.masks;
        ASSERT_EQ(listing.attributes.size(), listing.names.size());
        EXPECT_TRUE(listing.attributes[0] & FILE_ATTRIBUTE_DIRECTORY);
        EXPECT_TRUE(listing.attributes[1] & FILE_ATTRIBUTE_DIRECTORY);
    }
}

TEST_F(ListingTest, AllFilesNeverShowDotEntriesAndTrailingBackslashIsTheSame)
{
    const Listing plain = List(m_folder.Path(), "*.*", 0);
    const Listing slashed = List(m_folder.Path() + "\\", "*.*", 0);
    const std::vector<std::string> expected = {"Alpha", "beta", ".dot.bmp", "A.jpg", "Z.jpg", "a.bmp", "b.bmp", "c.txt"};
    EXPECT_EQ(plain.names, expected);
    EXPECT_EQ(slashed.names, expected);
    EXPECT_EQ(slashed.attributes, plain.attributes);
}

TEST_F(ListingTest, FilterKeepsExactAttributesButEveryFolder)
{
    ASSERT_TRUE(SetFileAttributesA((m_folder / "b.bmp").c_str(), FILE_ATTRIBUTE_READONLY));
    const DWORD archive = GetFileAttributesA((m_folder / "a.bmp").c_str());
    ASSERT_NE(GetFileAttributesA((m_folder / "b.bmp").c_str()), archive);
    const Listing listing = List(m_folder.Path(), "*.bmp", archive);
    // Under Wine ".dot.bmp" is also hidden, so it is not compared here.
    std::vector<std::string> withoutDotName;
    for (const std::string& name : listing.names)
        if (name != ".dot.bmp")
            withoutDotName.push_back(name);
    EXPECT_EQ(withoutDotName, (std::vector<std::string>{"Alpha", "beta", "a.bmp"}));
}

TEST_F(ListingTest, PathThatIsNoFolderListsNothing)
{
    for (const std::string& path : {m_folder / "c.txt", std::string()}) {
        const Listing listing = List(path, "*.*", 0);
        EXPECT_EQ(listing.result, S_FALSE) << path;
        EXPECT_TRUE(listing.names.empty());
        EXPECT_TRUE(listing.attributes.empty());
    }
    const Listing missing = List(m_folder / "missing", "*.*", 0);
    EXPECT_EQ(missing.result, S_OK);
    EXPECT_TRUE(missing.names.empty());
}

TEST_F(ListingTest, CopyFilesCopiesEveryFileAndLogsTheSubfolders)
{
    TempFolder destination;
    destination.WriteFile("a.bmp", "kept");
    LogCapture log;
    EXPECT_EQ(CopyFilesFromFolder(destination.Path().c_str(), m_folder.Path().c_str(), true, 0), S_OK);
    EXPECT_EQ(destination.ReadFile("a.bmp"), "kept") << "fail-if-exists keeps the present file";
    EXPECT_EQ(destination.ReadFile("b.bmp"), "b.bmp");
    EXPECT_EQ(destination.ReadFile("c.txt"), "c.txt");
    EXPECT_TRUE(log.Contains("last_error =")) << "the failed copies are logged";

    EXPECT_EQ(CopyFilesFromFolder(destination.Path().c_str(), m_folder.Path().c_str(), false, 0), S_OK);
    EXPECT_EQ(destination.ReadFile("a.bmp"), "a.bmp");
}

TEST(FileBlocks, WriteOverWithoutTruncatingAndReadBack)
{
    TempFolder folder;
    const DynamicString file = (folder / "block.bin").c_str();
    std::string hundred(100, '\0');
    for (int i = 0; i < 100; ++i)
        hundred[i] = static_cast<char>(i);
    ASSERT_EQ(SaveDataToFile(file, hundred.data(), 100, 0), S_OK);
    ASSERT_EQ(SaveDataToFile(file, "0123456789", 10, 0), S_OK);

    DWORD low = 0, high = 1;
    EXPECT_EQ(GetSizeFile(file, low, high), S_OK);
    EXPECT_EQ(low, 100u) << "a shorter write leaves the old tail";
    EXPECT_EQ(high, 0u);
    std::string expected = hundred;
    expected.replace(0, 10, "0123456789");
    EXPECT_EQ(folder.ReadFile("block.bin"), expected);

    ASSERT_EQ(SaveDataToFile(file, "xyz", 3, 50), S_OK);
    char middle[5] = {};
    EXPECT_EQ(LoadDataFromFile(file, middle, 5, 49), S_OK);
    EXPECT_EQ(std::string(middle, 5), std::string("\x31xyz\x35", 5));

    char tooMuch[8] = {};
    LogCapture log;
    EXPECT_EQ(LoadDataFromFile(file, tooMuch, 8, 96), E_FAIL) << "fewer bytes than asked is a failure";
    EXPECT_TRUE(log.Contains("block.bin"));
    EXPECT_EQ(LoadDataFromFile(file, nullptr, 8, 0), E_INVALIDARG);
    EXPECT_EQ(SaveDataToFile(file, nullptr, 8, 0), E_INVALIDARG);
}

TEST(FileBlocks, OpenFailureIsLoggedWithLabel)
{
    TempFolder folder;
    LogCapture log;
    const DynamicString missing = (folder / "missing\\x.bin").c_str();
    const HANDLE handle = OpenFileWithLog(missing, GENERIC_READ, 0, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL,
                                          nullptr, "open label");
    EXPECT_EQ(handle, INVALID_HANDLE_VALUE);
    EXPECT_TRUE(log.Contains("x.bin"));
    EXPECT_TRUE(log.Contains("open label"));
    char byte = 0;
    EXPECT_EQ(LoadDataFromFile(missing, &byte, 1, 0), E_FAIL);
    EXPECT_EQ(FlushFileWithLog(nullptr, "flush"), S_OK);
    EXPECT_EQ(FlushFileWithLog(INVALID_HANDLE_VALUE, "flush label"), S_OK);
    EXPECT_TRUE(log.Contains("flush label"));
}

TEST(FileBlocks, SizeOfEmptyMissingAndExistingNames)
{
    TempFolder folder;
    folder.WriteFile("five.bin", "12345");
    DWORD low = 7, high = 7;
    EXPECT_EQ(GetSizeFile("", low, high), E_UNEXPECTED);
    EXPECT_EQ(low, 0u);
    EXPECT_EQ(high, 0u);
    low = 7;
    EXPECT_EQ(GetSizeFile((folder / "none.bin").c_str(), low, high), S_OK);
    EXPECT_EQ(low, 0u);
    EXPECT_EQ(GetSizeFile((folder / "five.bin").c_str(), low, high), S_OK);
    EXPECT_EQ(low, 5u);
}

TEST(FileBlocks, FixedSizeFileIsKeptUnlessSizeDiffersOrForced)
{
    TempFolder folder;
    const DynamicString file = (folder / "fixed.bin").c_str();
    DWORD low = 0, high = 0;
    ASSERT_EQ(CreateFixedSizeFile(file, 4096, 0, false), S_OK);
    GetSizeFile(file, low, high);
    EXPECT_EQ(low, 4096u);

    ASSERT_EQ(SaveDataToFile(file, "mark", 4, 4000), S_OK);
    EXPECT_EQ(CreateFixedSizeFile(file, 4096, 0, false), S_OK);
    EXPECT_EQ(folder.ReadFile("fixed.bin").substr(4000, 4), "mark");
    EXPECT_EQ(CreateFixedSizeFile(file, 4096, 0, true), S_OK);
    GetSizeFile(file, low, high);
    EXPECT_EQ(low, 4096u);

    EXPECT_EQ(CreateFixedSizeFile(file, 10, 0, false), S_OK);
    GetSizeFile(file, low, high);
    EXPECT_EQ(low, 10u);

    const DynamicString negative = (folder / "negative.bin").c_str();
    EXPECT_EQ(CreateFixedSizeFile(negative, 10, -1, false), S_OK);
    EXPECT_EQ(GetFileAttributesA(negative.GetString()), INVALID_FILE_ATTRIBUTES) << "nothing is created";
}

TEST(Folders, CreateAndTestExistence)
{
    TempFolder folder;
    folder.WriteFile("file.txt", "x");
    const DynamicString fresh = (folder / "fresh").c_str();
    EXPECT_FALSE(IsFolderExist(fresh));
    EXPECT_EQ(GetFileAttributesA(fresh.GetString()), INVALID_FILE_ATTRIBUTES) << "the probe leaves nothing behind";
    EXPECT_EQ(CreateFolder(fresh, nullptr), S_OK);
    EXPECT_TRUE(IsFolderExist(fresh));
    EXPECT_EQ(CreateFolder(fresh, nullptr), S_OK) << "an existing folder is no failure";
    EXPECT_EQ(CreateFolder((folder / "no\\parent").c_str(), nullptr), E_FAIL);
    EXPECT_FALSE(IsFolderExist((folder / "file.txt").c_str())) << "a file is no folder";

    EXPECT_EQ(IsFileNotFolder(""), 1);
    EXPECT_EQ(IsFileNotFolder((folder / "none").c_str()), 0);
    EXPECT_EQ(IsFileNotFolder((folder / "file.txt").c_str()), 1);
    EXPECT_EQ(IsFileNotFolder(folder.Path().c_str()), 0);
}

TEST(Folders, DriveRootsAreFoundAmongFixedDrives)
{
    DynamicBoundsObject<DynamicString> all;
    DynamicBoundsObject<DynamicString> fixed;
    ASSERT_EQ(GetListLogicalDrives(all, 0), S_OK);
    ASSERT_EQ(GetListLogicalDrives(fixed, DRIVE_FIXED), S_OK);
    ASSERT_GE(fixed.GetCount(), 1u);
    EXPECT_GE(all.GetCount(), fixed.GetCount());
    for (const std::string& root : ToStrings(fixed)) {
        EXPECT_EQ(root.size(), 3u);
        EXPECT_EQ(root.substr(1), ":\\");
        EXPECT_EQ(GetDriveTypeA(root.c_str()), static_cast<UINT>(DRIVE_FIXED));
    }
    const std::string first = ToStrings(fixed).front();
    std::string lower = first;
    lower[0] = static_cast<char>(lower[0] - 'A' + 'a');
    EXPECT_TRUE(IsFolderExist(first.c_str()));
    EXPECT_TRUE(IsFolderExist(lower.c_str()));
    EXPECT_FALSE(IsFolderExist("Q"));
}

TEST(TextsAndPaths, CompareNoCaseAndCountLevels)
{
    struct CompareCase
    {
        const char* first;
        const char* second;
        int expected; // sign only
    };
    for (const CompareCase& c : std::vector<CompareCase>{
             {"", "", 0}, {"", "a", 1}, {"a", "", 1}, {"C:\\", "c:\\", 0}, {"abc", "ABD", -1}, {"b", "A", 1}}) {
        const int result = CompareTextNoCase(c.first, c.second);
        EXPECT_EQ((result > 0) - (result < 0), c.expected) << c.first << " / " << c.second;
    }
    EXPECT_EQ(GetCountLevelsInPath(""), 0u);
    EXPECT_EQ(GetCountLevelsInPath("name"), 0u);
    EXPECT_EQ(GetCountLevelsInPath("C:\\a\\b\\"), 3u);
}

TEST(Modules, PathFolderAndNameOfTheProgram)
{
    const HMODULE program = GetModuleHandleA(nullptr);
    const std::string full = ExecutablePath();
    const size_t backslash = full.rfind('\\');

    DynamicString text;
    EXPECT_EQ(GetFullPathFromModule(program, text), full.size());
    EXPECT_EQ(std::string(text.GetString()), full);
    EXPECT_EQ(GetFolderFromModule(program, text), backslash);
    EXPECT_EQ(std::string(text.GetString()), full.substr(0, backslash));
    EXPECT_EQ(GetFileNameFromModule(program, text), S_OK);
    EXPECT_EQ(std::string(text.GetString()), "support_file_tests.exe");

    EXPECT_EQ(GetFullPathFromModule(nullptr, text), 0u);
    EXPECT_EQ(GetFolderFromModule(nullptr, text), 0u);
    EXPECT_EQ(GetFileNameFromModule(nullptr, text), E_UNEXPECTED);
}

TEST(ComRegistration, RegisterFindAndUnregisterTestServer)
{
    ASSERT_EQ(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED), S_OK);
    const std::string program = ExecutablePath();
    const DynamicString server = (program.substr(0, program.rfind('\\') + 1) + kTestComServerFile).c_str();
    const auto findServer = [] {
        IClassFactory* factory = nullptr;
        const HRESULT result = CoGetClassObject(CLSID_KorvaneTestComServer, CLSCTX_INPROC_SERVER, nullptr,
                                                IID_IClassFactory, reinterpret_cast<void**>(&factory));
        if (factory != nullptr)
            factory->Release();
        return result;
    };

    EXPECT_EQ(RegisterServerDll(server, true), S_OK);
    EXPECT_EQ(findServer(), S_OK);
    EXPECT_EQ(RegisterServerDll(server, false), S_OK);
    EXPECT_EQ(findServer(), REGDB_E_CLASSNOTREG);
    HKEY key = nullptr;
    EXPECT_EQ(RegOpenKeyExA(HKEY_CLASSES_ROOT, kTestComServerKey, 0, KEY_READ, &key), ERROR_FILE_NOT_FOUND);
    CoUninitialize();
}

TEST(ComRegistration, NothingToCallGivesZero)
{
    EXPECT_EQ(RegisterServerDll("", true), E_UNEXPECTED);
    EXPECT_EQ(RegisterServerDll("Z:\\no\\such\\server.dll", true), S_OK);
    EXPECT_EQ(RegisterServerDll("kernel32.dll", true), S_OK) << "a DLL without the export";
}
