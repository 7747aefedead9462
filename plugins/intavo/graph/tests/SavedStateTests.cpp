#include "aObjectBaseForGlobalObject.h"

#include "TempFolder.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

namespace {

constexpr size_t kNameBlock = 256;

class NamedObject : public ObjectBaseForGlobalObjects
{
public:
    explicit NamedObject(const char* name) { m_name_object = name; }
};

std::string FileOf(const TempFolder& folder, const char* objectName)
{
    return folder.ReadFile(std::string(objectName) + ".sav");
}

std::vector<char> Bytes(size_t count, char first)
{
    std::vector<char> bytes(count);
    for (size_t k = 0; k < count; ++k)
        bytes[k] = static_cast<char>(first + k);
    return bytes;
}

} // namespace

TEST(SavedState, RoundTripWritesTheNameBlockThenTheState)
{
    TempFolder folder;
    NamedObject object("Camera object 1");
    const std::vector<char> state = Bytes(40, 'a');
    ASSERT_EQ(object.SaveObjectToFile(folder.Path().c_str(), state.data(), static_cast<int32_t>(state.size())), S_OK);

    const std::string file = FileOf(folder, "Camera object 1");
    ASSERT_EQ(file.size(), kNameBlock + state.size());
    EXPECT_STREQ(file.c_str(), "Camera object 1");
    EXPECT_EQ(file.find_first_not_of('\0', std::strlen("Camera object 1")), kNameBlock) << "zeros behind the name";
    EXPECT_EQ(file.substr(kNameBlock), std::string(state.begin(), state.end()));

    std::vector<char> loaded(state.size(), 0);
    ASSERT_EQ(object.LoadObjectFromFile(folder.Path().c_str(), loaded.data(), static_cast<int32_t>(loaded.size())), S_OK);
    EXPECT_EQ(loaded, state);
}

TEST(SavedState, AFileOfAnotherObjectOrAShortFileLeavesTheBufferUntouched)
{
    TempFolder folder;
    NamedObject other("Other object");
    const std::vector<char> state = Bytes(16, 'k');
    ASSERT_EQ(other.SaveObjectToFile(folder.Path().c_str(), state.data(), 16), S_OK);
    // The same file under this object's name: the name block still says "Other object".
    ASSERT_TRUE(CopyFileA((folder / "Other object.sav").c_str(), (folder / "Mine.sav").c_str(), FALSE));
    NamedObject mine("Mine");
    std::vector<char> buffer(16, 'x');
    EXPECT_EQ(mine.LoadObjectFromFile(folder.Path().c_str(), buffer.data(), 16), E_FAIL);
    EXPECT_EQ(buffer, std::vector<char>(16, 'x'));

    // Its own file, but shorter than the state asked for.
    EXPECT_EQ(other.LoadObjectFromFile(folder.Path().c_str(), buffer.data(), 17), E_FAIL);
    EXPECT_EQ(buffer, std::vector<char>(16, 'x'));
    // No file at all.
    NamedObject missing("Missing");
    EXPECT_EQ(missing.LoadObjectFromFile(folder.Path().c_str(), buffer.data(), 16), E_FAIL);
    EXPECT_EQ(buffer, std::vector<char>(16, 'x'));
}

TEST(SavedState, AShorterSaveKeepsTheOldTailAndLoadsOnlyWhatIsAsked)
{
    TempFolder folder;
    NamedObject object("Object");
    const std::vector<char> longState = Bytes(64, 'A');
    const std::vector<char> shortState = Bytes(16, 'a');
    ASSERT_EQ(object.SaveObjectToFile(folder.Path().c_str(), longState.data(), 64), S_OK);
    ASSERT_EQ(object.SaveObjectToFile(folder.Path().c_str(), shortState.data(), 16), S_OK);

    const std::string file = FileOf(folder, "Object");
    ASSERT_EQ(file.size(), kNameBlock + 64);
    EXPECT_EQ(file.substr(kNameBlock, 16), std::string(shortState.begin(), shortState.end()));
    EXPECT_EQ(file.substr(kNameBlock + 16), std::string(longState.begin() + 16, longState.end()));

    std::vector<char> loaded(16, 0);
    ASSERT_EQ(object.LoadObjectFromFile(folder.Path().c_str(), loaded.data(), 16), S_OK);
    EXPECT_EQ(loaded, shortState);
}

TEST(SavedState, ASizeBelowOneOrNoBufferIsRefusedAndWritesNothing)
{
    TempFolder folder;
    NamedObject object("Empty");
    char byte = 'z';
    for (const int32_t size : {0, -1}) {
        EXPECT_EQ(object.SaveObjectToFile(folder.Path().c_str(), &byte, size), E_FAIL) << size;
        EXPECT_EQ(object.LoadObjectFromFile(folder.Path().c_str(), &byte, size), E_FAIL) << size;
    }
    EXPECT_EQ(object.SaveObjectToFile(folder.Path().c_str(), nullptr, 1), E_FAIL);
    EXPECT_EQ(object.LoadObjectFromFile(folder.Path().c_str(), nullptr, 1), E_FAIL);
    EXPECT_EQ(GetFileAttributesA((folder / "Empty.sav").c_str()), INVALID_FILE_ATTRIBUTES);
    EXPECT_EQ(byte, 'z');
}

TEST(SavedState, TheFileIsHidden)
{
    TempFolder folder;
    // Wine keeps the hidden attribute in an extended attribute of the file.
    folder.WriteFile("probe", "x");
    const std::string probe = folder / "probe";
    SetFileAttributesA(probe.c_str(), FILE_ATTRIBUTE_HIDDEN);
    if ((GetFileAttributesA(probe.c_str()) & FILE_ATTRIBUTE_HIDDEN) == 0)
        GTEST_SKIP() << "the file system of the temporary folder keeps no hidden attribute";

    NamedObject object("Hidden object");
    char byte = 1;
    ASSERT_EQ(object.SaveObjectToFile(folder.Path().c_str(), &byte, 1), S_OK);
    const DWORD attributes = GetFileAttributesA((folder / "Hidden object.sav").c_str());
    ASSERT_NE(attributes, INVALID_FILE_ATTRIBUTES);
    EXPECT_NE(attributes & FILE_ATTRIBUTE_HIDDEN, 0u);
}
