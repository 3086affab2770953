// The Win32 files and file mappings that the terrain model reads through.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <filesystem>
#include <string>

#include "crt/paths.h"
#include "win/filemap.h"

namespace {

class FileMapTest : public ::testing::Test {
 protected:
  void SetUp() override {
    dir = std::filesystem::path(::testing::TempDir()) /
          ("terrain_filemap_" +
           std::string(::testing::UnitTest::GetInstance()->current_test_info()->name()));
    std::filesystem::remove_all(dir);
    std::filesystem::create_directories(dir);
  }
  void TearDown() override { std::filesystem::remove_all(dir); }

  // Writes a file and returns its name in Windows form (Z:\...).
  std::string Make(const std::string& name, const std::string& content) {
    std::filesystem::path p = dir / name;
    std::FILE* f = std::fopen(p.c_str(), "wb");
    std::fwrite(content.data(), 1, content.size(), f);
    std::fclose(f);
    return platform::toWindowsPath(p.string());
  }
  std::string Content(const std::string& name) {
    std::FILE* f = std::fopen((dir / name).c_str(), "rb");
    std::string s;
    int c;
    while ((c = std::fgetc(f)) != EOF) s += static_cast<char>(c);
    std::fclose(f);
    return s;
  }
  static HANDLE OpenRead(const std::string& path) {
    return CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                       FILE_FLAG_SEQUENTIAL_SCAN, nullptr);
  }

  std::filesystem::path dir;
};

TEST_F(FileMapTest, ReadOnlyViewOfAWindowsPath) {
  std::string path = Make("points.bin", "0123456789");
  HANDLE file = OpenRead(path);
  ASSERT_NE(file, INVALID_HANDLE_VALUE);
  DWORD high = 99;
  EXPECT_EQ(GetFileSize(file, &high), 10u);
  EXPECT_EQ(high, 0u);
  HANDLE mapping = CreateFileMappingA(file, nullptr, PAGE_READONLY, 0, 0, nullptr);
  ASSERT_NE(mapping, nullptr);
  const char* view = static_cast<const char*>(MapViewOfFile(mapping, FILE_MAP_READ, 0, 0, 0));
  ASSERT_NE(view, nullptr);
  // The view outlives both handles.
  EXPECT_TRUE(CloseHandle(mapping));
  EXPECT_TRUE(CloseHandle(file));
  EXPECT_EQ(std::string(view, 10), "0123456789");
  EXPECT_TRUE(UnmapViewOfFile(view));
  EXPECT_FALSE(UnmapViewOfFile(view));
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_ADDRESS));
}

TEST_F(FileMapTest, ReadOnlyMappingRefusesWriting) {
  std::string path = Make("a.bin", "abc");
  HANDLE file = OpenRead(path);
  ASSERT_NE(file, INVALID_HANDLE_VALUE);
  // A file opened for reading cannot get a writable mapping ...
  EXPECT_EQ(CreateFileMappingA(file, nullptr, PAGE_READWRITE, 0, 0, nullptr), nullptr);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_ACCESS_DENIED));
  // ... nor grow, and a read-only mapping gives no writable view.
  EXPECT_EQ(CreateFileMappingA(file, nullptr, PAGE_READONLY, 0, 100, nullptr), nullptr);
  HANDLE mapping = CreateFileMappingA(file, nullptr, PAGE_READONLY, 0, 0, nullptr);
  ASSERT_NE(mapping, nullptr);
  EXPECT_EQ(MapViewOfFile(mapping, FILE_MAP_WRITE, 0, 0, 0), nullptr);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_ACCESS_DENIED));
  EXPECT_EQ(MapViewOfFile(mapping, FILE_MAP_ALL_ACCESS, 0, 0, 0), nullptr);
  // A copy-on-write view may be changed; the file keeps its bytes.
  char* copy = static_cast<char*>(MapViewOfFile(mapping, FILE_MAP_COPY, 0, 0, 0));
  ASSERT_NE(copy, nullptr);
  copy[0] = 'X';
  EXPECT_TRUE(UnmapViewOfFile(copy));
  EXPECT_EQ(Content("a.bin"), "abc");
  CloseHandle(mapping);
  CloseHandle(file);
}

TEST_F(FileMapTest, ReadWriteViewWritesThrough) {
  std::string path = Make("rw.bin", "abcdef");
  HANDLE file = CreateFileA(path.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING,
                            FILE_ATTRIBUTE_NORMAL, nullptr);
  ASSERT_NE(file, INVALID_HANDLE_VALUE);
  HANDLE mapping = CreateFileMappingA(file, nullptr, PAGE_READWRITE, 0, 0, nullptr);
  ASSERT_NE(mapping, nullptr);
  char* view = static_cast<char*>(MapViewOfFile(mapping, FILE_MAP_WRITE, 0, 0, 0));
  ASSERT_NE(view, nullptr);
  view[1] = 'B';
  UnmapViewOfFile(view);
  CloseHandle(mapping);
  CloseHandle(file);
  EXPECT_EQ(Content("rw.bin"), "aBcdef");
}

TEST_F(FileMapTest, SameNameGivesSeparateMappings) {
  // A name is not shared: each mapping shows its own file.
  HANDLE f1 = OpenRead(Make("one.bin", "one"));
  HANDLE f2 = OpenRead(Make("two.bin", "two"));
  HANDLE m1 = CreateFileMappingA(f1, nullptr, PAGE_READONLY, 0, 0, "MemMapping");
  HANDLE m2 = CreateFileMappingA(f2, nullptr, PAGE_READONLY, 0, 0, "MemMapping");
  ASSERT_NE(m1, nullptr);
  ASSERT_NE(m2, nullptr);
  EXPECT_NE(m1, m2);
  const char* v1 = static_cast<const char*>(MapViewOfFile(m1, FILE_MAP_READ, 0, 0, 0));
  const char* v2 = static_cast<const char*>(MapViewOfFile(m2, FILE_MAP_READ, 0, 0, 0));
  EXPECT_EQ(std::string(v1, 3), "one");
  EXPECT_EQ(std::string(v2, 3), "two");
  UnmapViewOfFile(v1);
  UnmapViewOfFile(v2);
  for (HANDLE h : {m1, m2, f1, f2}) EXPECT_TRUE(CloseHandle(h));
}

TEST_F(FileMapTest, FailuresAndTheirErrors) {
  EXPECT_EQ(OpenRead(platform::toWindowsPath((dir / "none.bin").string())), INVALID_HANDLE_VALUE);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_FILE_NOT_FOUND));
  EXPECT_EQ(OpenRead(platform::toWindowsPath(dir.string())), INVALID_HANDLE_VALUE);  // a folder

  HANDLE empty = OpenRead(Make("empty.bin", ""));
  ASSERT_NE(empty, INVALID_HANDLE_VALUE);
  EXPECT_EQ(CreateFileMappingA(empty, nullptr, PAGE_READONLY, 0, 0, nullptr), nullptr);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_FILE_INVALID));
  EXPECT_TRUE(CloseHandle(empty));
  EXPECT_FALSE(CloseHandle(empty));
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_HANDLE));
  EXPECT_EQ(GetFileSize(empty, nullptr), INVALID_FILE_SIZE);
  EXPECT_EQ(CreateFileMappingA(empty, nullptr, PAGE_READONLY, 0, 0, nullptr), nullptr);
  EXPECT_EQ(MapViewOfFile(empty, FILE_MAP_READ, 0, 0, 0), nullptr);

  HANDLE file = OpenRead(Make("small.bin", std::string(100, 'x')));
  HANDLE mapping = CreateFileMappingA(file, nullptr, PAGE_READONLY, 0, 0, nullptr);
  // A file handle is not a mapping, and views must start on 64 KiB and stay inside.
  EXPECT_EQ(MapViewOfFile(file, FILE_MAP_READ, 0, 0, 0), nullptr);
  EXPECT_EQ(MapViewOfFile(mapping, FILE_MAP_READ, 0, 4096, 0), nullptr);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_MAPPED_ALIGNMENT));
  EXPECT_EQ(MapViewOfFile(mapping, FILE_MAP_READ, 0, 0, 101), nullptr);
  CloseHandle(mapping);
  CloseHandle(file);
}

TEST_F(FileMapTest, ReadFileStopsAtTheEnd) {
  HANDLE file = OpenRead(Make("grid.bin", "0123456789"));
  char buffer[16] = {};
  DWORD got = 99;
  EXPECT_TRUE(ReadFile(file, buffer, 4, &got, nullptr));
  EXPECT_EQ(got, 4u);
  EXPECT_EQ(std::string(buffer, 4), "0123");
  EXPECT_TRUE(ReadFile(file, buffer, 16, &got, nullptr));
  EXPECT_EQ(got, 6u);
  EXPECT_EQ(std::string(buffer, 6), "456789");
  EXPECT_TRUE(ReadFile(file, buffer, 16, &got, nullptr));
  EXPECT_EQ(got, 0u);
  CloseHandle(file);
  EXPECT_FALSE(ReadFile(file, buffer, 4, &got, nullptr));
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_HANDLE));
}

}  // namespace
