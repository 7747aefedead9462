#include "MemoryBlockClass.h"
#include "SmartComPointer.h"
#include "ThrownInteger.h"
#include "g_managment_mem.h"

#include <gtest/gtest.h>

#include <cstring>

namespace {

uint64_t OwnHeapTotal()
{
    uint64_t total = 0;
    SAFE_GET_INFO_HEAP(false, &total, nullptr);
    return total;
}

} // namespace

TEST(MemoryBlockClass, CopyBlockGrowsOnlyWhenSmaller)
{
    const char text[10] = "012345678";
    MemoryBlockClass<unsigned char> large;
    ASSERT_EQ(large.CreateBlock(100), S_OK);
    EXPECT_EQ(large.CopyBlock(text, 10), S_OK);
    EXPECT_EQ(large.GetSize(), 100u);
    EXPECT_EQ(std::memcmp(large.GetData(), text, 10), 0);

    MemoryBlockClass<unsigned char> small;
    small.CreateBlock(4);
    EXPECT_EQ(small.CopyBlock(text, 10), S_OK);
    EXPECT_EQ(small.GetSize(), 10u);
    EXPECT_EQ(std::memcmp(small.GetData(), text, 10), 0);

    EXPECT_EQ(small.CopyBlock(nullptr, 10), E_INVALIDARG);
    EXPECT_EQ(small.CopyBlock(text, 0), E_UNEXPECTED);
}

TEST(MemoryBlockClass, CreateAndReallocate)
{
    MemoryBlockClass<uint32_t> block;
    EXPECT_EQ(block.CreateBlock(0), E_UNEXPECTED);
    ASSERT_EQ(block.CreateBlock(3), S_OK);
    block.GetData()[2] = 0xABCD;
    ASSERT_EQ(block.ReallocBlock(1000), S_OK);
    EXPECT_EQ(block.GetSize(), 1000u);
    EXPECT_EQ(block.GetData()[2], 0xABCDu);
    EXPECT_EQ(block.ReallocBlock(0), S_OK);
    EXPECT_EQ(block.GetData(), nullptr);
}

TEST(MemoryBlockClass, FailedReallocationKeepsBlockAndSize)
{
    struct Mebibyte
    {
        unsigned char bytes[1 << 20];
    };
    MemoryBlockClass<Mebibyte> block;
    ASSERT_EQ(block.CreateBlock(1), S_OK);
    block.GetData()->bytes[5] = 77;
    EXPECT_EQ(block.ReallocBlock(0xFFFFFFFFu), E_FAIL) << "4 PiB cannot be had";
    EXPECT_EQ(block.GetSize(), 1u);
    EXPECT_EQ(block.GetData()->bytes[5], 77);
}

TEST(MemoryBlockClass, PointerFromOffsetCodes)
{
    MemoryBlockClass<unsigned char> block;
    EXPECT_EQ(ThrownInteger([&] { block.GetPointerFromOffset(0); }), 2);
    block.CreateBlock(8);
    EXPECT_EQ(block.GetPointerFromOffset(7), block.GetData() + 7);
    EXPECT_EQ(ThrownInteger([&] { block.GetPointerFromOffset(8); }), 1);
}

TEST(MemoryBlockClass, OwningBlockFreesItsElementsAndItself)
{
    const uint64_t before = OwnHeapTotal();
    {
        MemoryBlockClass<char*> block(true);
        ASSERT_EQ(block.CreateBlock(3), S_OK);
        for (uint32_t i = 0; i < 3; ++i)
            ASSERT_EQ(SAFE_TASK_ALLOC(&block.GetData()[i], 64), S_OK);
        EXPECT_GT(OwnHeapTotal(), before + 3 * 64);
    }
    EXPECT_EQ(OwnHeapTotal(), before);
}

TEST(MemoryBlockClass, MoveTakesTheBlockOnlyBetweenEqualOwners)
{
    MemoryBlockClass<unsigned char> source, target;
    source.CreateBlock(16);
    unsigned char* data = source.GetData();
    target.CreateBlock(4);
    target.MoveFrom(source);
    EXPECT_EQ(target.GetData(), data);
    EXPECT_EQ(target.GetSize(), 16u);
    EXPECT_EQ(source.GetData(), nullptr);
    EXPECT_EQ(source.GetSize(), 0u);

    MemoryBlockClass<unsigned char> owning(true);
    owning.MoveFrom(target);
    EXPECT_EQ(owning.GetData(), nullptr) << "different owner flags: nothing moves";
    EXPECT_EQ(target.GetData(), data);
}

namespace {

struct Tracked
{
    static inline int alive = 0;
    Tracked() { ++alive; }
    ~Tracked() { --alive; }
};

} // namespace

TEST(AutoObjectArray, AdoptsOrCreatesAndDeletes)
{
    {
        AutoObjectArray<Tracked, 3> created(nullptr);
        EXPECT_EQ(Tracked::alive, 3);
        EXPECT_NE(created.Get(2), nullptr);
        AutoObjectArray<Tracked, 1> adopted(new Tracked);
        EXPECT_EQ(Tracked::alive, 4);
    }
    EXPECT_EQ(Tracked::alive, 0);
}

TEST(AutoGDIObject, DeletesTheObject)
{
    HBRUSH brush = CreateSolidBrush(RGB(1, 2, 3));
    {
        AutoGDIObject owner(brush);
        EXPECT_NE(GetObjectType(brush), 0u);
    }
    EXPECT_EQ(GetObjectType(brush), 0u) << "brush deleted with its owner";
    AutoGDIObject empty;
    EXPECT_EQ(empty.Close(), S_OK);
}

TEST(AutoFileHandle, ClosesFilesAndSearchesAndIgnoresInvalid)
{
    char folder[MAX_PATH];
    GetTempPathA(MAX_PATH, folder);
    std::string path = std::string(folder) + "auto_file_handle.tmp";
    HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    ASSERT_NE(file, INVALID_HANDLE_VALUE);
    {
        AutoFileHandle owner(file, false);
    }
    // Exclusive access works again only when the handle was really closed.
    HANDLE again = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    EXPECT_NE(again, INVALID_HANDLE_VALUE);
    CloseHandle(again);

    WIN32_FIND_DATAA found;
    AutoFileHandle search(FindFirstFileA(path.c_str(), &found), true);
    EXPECT_EQ(search.Close(), S_OK);
    EXPECT_EQ(search.Get(), nullptr);
    DeleteFileA(path.c_str());

    AutoFileHandle invalid(INVALID_HANDLE_VALUE, false);
    EXPECT_EQ(invalid.Close(), S_OK);
    EXPECT_EQ(invalid.Get(), nullptr);
}

namespace {

// A COM object that counts its references.
struct CountingUnknown : IUnknown
{
    ULONG references = 1;
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID, void**) override { return E_NOINTERFACE; }
    ULONG STDMETHODCALLTYPE AddRef() override { return ++references; }
    ULONG STDMETHODCALLTYPE Release() override { return --references; }
};

} // namespace

TEST(SmartComPointer, ReleasesOnceAndMovesWithoutAddingReferences)
{
    CountingUnknown first, second;
    {
        SmartComPointer<IUnknown> a, b;
        a.Attach(&first);
        b.Attach(&second);
        b = a;
        EXPECT_EQ(second.references, 0u) << "b released its own pointer";
        EXPECT_EQ(first.references, 1u) << "the reference moved, none added";
        EXPECT_EQ(a.Get(), nullptr);
        EXPECT_EQ(b.Get(), &first);
        EXPECT_EQ(a.ReleasePointer("a.ReleasePointer::1"), 0u) << "empty holder releases nothing";
    }
    EXPECT_EQ(first.references, 0u);
}
