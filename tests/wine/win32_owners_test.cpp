// The Win32 owners of win32/: each releases its real handle exactly once, when
// its scope ends or when it is given another, and a move hands the handle over,
// leaving the source empty so that its end releases nothing. What is released
// is observed on the handles themselves (object type, module handle, menu).
#include "win32/scoped_gdi.h"
#include "win32/scoped_handle.h"

#include <gtest/gtest.h>

#include <functional>

namespace {

// One kind of owner: how to make a fresh one, which handle it holds, and
// whether that handle is still alive.
template <typename Owner, typename Handle> struct OwnerKind {
    std::function<Owner()> Make;
    std::function<Handle(const Owner&)> HandleOf;
    std::function<bool(Handle)> Alive;
};

template <typename Owner, typename Handle> void CheckOwner(const OwnerKind<Owner, Handle>& kind) {
    Handle first;
    {
        Owner owner = kind.Make();
        first = kind.HandleOf(owner);
        ASSERT_NE(first, Handle());
        EXPECT_TRUE(kind.Alive(first));
    }
    EXPECT_FALSE(kind.Alive(first)) << "released when the scope ends";

    // A moved-from owner releases nothing; the new owner releases it.
    Owner source = kind.Make();
    const Handle moved = kind.HandleOf(source);
    {
        Owner target(std::move(source));
        EXPECT_EQ(kind.HandleOf(source), Handle());
        EXPECT_EQ(kind.HandleOf(target), moved);
        EXPECT_TRUE(kind.Alive(moved));
    }
    EXPECT_FALSE(kind.Alive(moved));

    // Given another, an owner releases its own at once and holds the other.
    Owner held = kind.Make();
    Owner given = kind.Make();
    const Handle old = kind.HandleOf(held), taken = kind.HandleOf(given);
    held = std::move(given);
    EXPECT_FALSE(kind.Alive(old));
    EXPECT_TRUE(kind.Alive(taken));
    EXPECT_EQ(kind.HandleOf(given), Handle());
    EXPECT_EQ(kind.HandleOf(held), taken);
}

bool IsObject(HGDIOBJ object, DWORD type) {
    return GetObjectType(object) == type;
}

TEST(Win32Owners, EachReleasesOnceAndMovesHandOver) {
    ScopedScreenDC screen;
    const struct {
        const char* Name;
        std::function<void()> Check;
    } cases[] = {
        {"memory DC",
         [&] {
             CheckOwner(
                 OwnerKind<ScopedMemoryDC, HDC>{[&] { return ScopedMemoryDC(screen.dc); },
                                                [](const ScopedMemoryDC& o) { return o.dc; },
                                                [](HDC dc) { return IsObject(dc, OBJ_MEMDC); }});
         }},
        {"GDI object",
         [] {
             CheckOwner(OwnerKind<ScopedGdiObject<HBRUSH>, HBRUSH>{
                 [] { return ScopedGdiObject<HBRUSH>(CreateSolidBrush(RGB(1, 2, 3))); },
                 [](const ScopedGdiObject<HBRUSH>& o) { return o.handle; },
                 [](HBRUSH b) { return IsObject(b, OBJ_BRUSH); }});
         }},
        {"DIB section",
         [&] {
             CheckOwner(OwnerKind<ScopedDib, HBITMAP>{
                 [&] { return ScopedDib(screen.dc, Dib32Info(3, -2)); },
                 [](const ScopedDib& o) { return o.bitmap; },
                 [](HBITMAP b) { return IsObject(b, OBJ_BITMAP); }});
         }},
        {"menu",
         [] {
             CheckOwner(OwnerKind<ScopedMenu, HMENU>{[] { return ScopedMenu(CreatePopupMenu()); },
                                                     [](const ScopedMenu& o) { return o.handle; },
                                                     [](HMENU m) { return IsMenu(m) != FALSE; }});
         }},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.Name);
        c.Check();
    }
}

// FreeLibrary is counted by the system: an owner of one of two references
// leaves the module loaded, so it released exactly one.
TEST(Win32Owners, ModuleReleasesOneReference) {
    const char name[] = "Vorlamet.plg"; // beside the test; its entry point only stores the instance
    ASSERT_EQ(GetModuleHandleA(name), nullptr) << "the test needs a module nobody loaded";
    HMODULE extra = LoadLibraryA(name);
    ASSERT_NE(extra, nullptr);
    {
        ScopedModule source(LoadLibraryA(name));
        ScopedModule owner(std::move(source));
        EXPECT_EQ(source.handle, nullptr);
        EXPECT_EQ(owner.handle, extra);
    }
    EXPECT_EQ(GetModuleHandleA(name), extra) << "one reference is left";
    FreeLibrary(extra);
    EXPECT_EQ(GetModuleHandleA(name), nullptr);
}

// A selection undoes itself once: at Undo, or at its end, never again after a
// move; a DIB of no size is not made at all.
TEST(Win32Owners, SelectionAndEmptyDib) {
    ScopedScreenDC screen;
    ScopedMemoryDC dc(screen.dc);
    ScopedGdiObject<HBRUSH> brush(CreateSolidBrush(RGB(9, 8, 7)));
    const HGDIOBJ before = GetCurrentObject(dc.dc, OBJ_BRUSH);
    {
        ScopedSelect selected(dc.dc, brush.handle);
        EXPECT_EQ(GetCurrentObject(dc.dc, OBJ_BRUSH), brush.handle);
        ScopedSelect moved(std::move(selected));
        EXPECT_EQ(selected.previous, nullptr);
        EXPECT_EQ(GetCurrentObject(dc.dc, OBJ_BRUSH), brush.handle);
        moved.Undo();
        EXPECT_EQ(GetCurrentObject(dc.dc, OBJ_BRUSH), before);
        SelectObject(dc.dc, brush.handle); // a later Undo or end must not put it back
    }
    EXPECT_EQ(GetCurrentObject(dc.dc, OBJ_BRUSH), brush.handle);
    SelectObject(dc.dc, before);

    const struct { int32_t Width, Height; } empty[] = {{0, 4}, {4, 0}, {4, -4}, {-1, 3}};
    for (const auto& e : empty) {
        ScopedDib dib(screen.dc, e.Width, e.Height);
        EXPECT_EQ(dib.bitmap, nullptr) << e.Width << "x" << e.Height;
        EXPECT_EQ(dib.bits, nullptr);
    }
    ScopedDib made(screen.dc, 4, 3);
    BITMAP shape;
    ASSERT_TRUE(GetObjectA(made.bitmap, sizeof shape, &shape));
    EXPECT_EQ(shape.bmHeight, 3);
    EXPECT_EQ(shape.bmBitsPixel, 32);
    EXPECT_NE(made.bits, nullptr);
}

} // namespace
