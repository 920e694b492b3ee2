// SPDX-License-Identifier: GPL-3.0-or-later
// Reading a saved scan when memory runs out: a clear error, never the end
// of the program. This binary replaces the global operator new with one
// that fails once a budget is spent, as new does when the system has no
// more memory to give.

#include <gtest/gtest.h>

#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <new>
#include <string>

#include "import/TMNcduImport.h"
#include "support/TMCaseNames.h"

namespace {

// Bytes handed out and not given back, and how many may be while a budget
// is active. Each block carries its size before it, so that what is freed
// (the tree dropped when a read fails) is available again.
std::atomic<bool> budgetActive{false};
std::atomic<int64_t> budget{0};
std::atomic<int64_t> live{0};
constexpr std::size_t kHeader = 16;  // keeps malloc's alignment

void* allocate(std::size_t size) {
  if (budgetActive.load(std::memory_order_relaxed) &&
      live.load(std::memory_order_relaxed) + int64_t(size) > budget.load(std::memory_order_relaxed))
    throw std::bad_alloc();
  auto* block = static_cast<char*>(std::malloc(size + kHeader));
  if (block == nullptr) throw std::bad_alloc();
  *reinterpret_cast<std::size_t*>(block) = size;
  live.fetch_add(int64_t(size), std::memory_order_relaxed);
  return block + kHeader;
}

void release(void* memory) noexcept {
  if (memory == nullptr) return;
  char* block = static_cast<char*>(memory) - kHeader;
  live.fetch_sub(int64_t(*reinterpret_cast<std::size_t*>(block)), std::memory_order_relaxed);
  std::free(block);
}

}  // namespace

void* operator new(std::size_t size) { return allocate(size); }
void* operator new[](std::size_t size) { return allocate(size); }
void* operator new(std::size_t size, const std::nothrow_t&) noexcept {
  try {
    return allocate(size);
  } catch (const std::bad_alloc&) {
    return nullptr;
  }
}
void* operator new[](std::size_t size, const std::nothrow_t& nothrow) noexcept { return operator new(size, nothrow); }
void operator delete(void* block) noexcept { release(block); }
void operator delete[](void* block) noexcept { release(block); }
void operator delete(void* block, std::size_t) noexcept { release(block); }
void operator delete[](void* block, std::size_t) noexcept { release(block); }

namespace tilemora::test {
namespace {

// A saved scan of one folder holding `files` files.
std::string wideExport(int files) {
  std::string text = R"([1,2,{"progname":"test"},[{"name":"/wide"})";
  for (int i = 0; i < files; ++i) text += ",{\"name\":\"file-" + std::to_string(i) + "\",\"dsize\":4096}";
  return text + "]]";
}

struct MemoryCase {
  std::string name;
  int64_t budget;  // bytes new may hold, beyond what it holds already, while reading
  bool read;       // whether the scan fits
};

class TMImportOutOfMemory : public ::testing::TestWithParam<MemoryCase> {};

TEST_P(TMImportOutOfMemory, IsAnErrorThatSaysSo) {
  const std::string text = wideExport(100000);
  std::FILE* input = ::fmemopen(const_cast<char*>(text.data()), text.size(), "r");
  ASSERT_NE(input, nullptr);
  budget = live.load() + GetParam().budget;
  budgetActive = true;
  const TMImportResult result = importNcduExport(input);
  budgetActive = false;
  std::fclose(input);
  if (GetParam().read) {
    ASSERT_TRUE(std::holds_alternative<TMImportedScan>(result)) << std::get<TMImportError>(result).text();
    EXPECT_EQ(std::get<TMImportedScan>(result).files, 100000u);
  } else {
    ASSERT_TRUE(std::holds_alternative<TMImportError>(result));
    EXPECT_NE(std::get<TMImportError>(result).message.find("too large for the memory available"), std::string::npos);
  }
}

INSTANTIATE_TEST_SUITE_P(Budgets, TMImportOutOfMemory,
                         ::testing::Values(MemoryCase{"ample", int64_t(1) << 30, true},
                                           MemoryCase{"spent in the tree", int64_t(1) << 20, false},
                                           MemoryCase{"spent in the first folder", 64 * 1024, false}),
                         caseNamesByName);

}  // namespace
}  // namespace tilemora::test
