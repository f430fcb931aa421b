#pragma once
// Builds a descriptor class from bytes held in a heap block of exactly the
// descriptor's size (2 + descriptor_length), so that the sanitizer build
// catches any read past the descriptor.
#include <gtest/gtest.h>

#include <cstring>
#include <initializer_list>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "lib13818/descriptor.h"

namespace testing_support {

class ExactBytes {
 public:
  explicit ExactBytes(const std::vector<std::uint8_t>& b) : size_(b.size()), p_(new std::uint8_t[b.size()]) {
    if (!b.empty()) std::memcpy(p_.get(), b.data(), b.size());
  }
  const std::uint8_t* data() const { return p_.get(); }
  size_t size() const { return size_; }

 private:
  size_t size_;
  std::unique_ptr<std::uint8_t[]> p_;
};

// The descriptor `bytes` (tag, length, payload; the length byte must match).
template <class T>
T MakeDescriptor(const std::vector<std::uint8_t>& bytes) {
  EXPECT_EQ(bytes.size(), 2u + bytes.at(1)) << "test descriptor length byte";
  ExactBytes exact(bytes);
  return T(exact.data());
}

// tag, then the payload; the length byte is filled in.
inline std::vector<std::uint8_t> Desc(std::uint8_t tag, std::vector<std::uint8_t> payload) {
  std::vector<std::uint8_t> d;
  d.reserve(2 + payload.size());  // GCC 12 -O3 false -Warray-bounds on an unreserved insert
  d.push_back(tag);
  d.push_back(static_cast<std::uint8_t>(payload.size()));
  d.insert(d.end(), payload.begin(), payload.end());
  return d;
}

// What Print writes for the descriptor.
inline std::string Printed(const lib13818::Descriptor& d) {
  std::ostringstream os;
  d.Print(os);
  return os.str();
}

}  // namespace testing_support

namespace testing_support {

// Expects the parse of `bytes` as T to throw lib13818::error with `code`,
// position -1 and `message`.
template <class T>
void ExpectRefused(const std::vector<std::uint8_t>& bytes, int code, const std::string& message) {
  try {
    MakeDescriptor<T>(bytes);
    ADD_FAILURE() << "no error thrown";
  } catch (const lib13818::error& e) {
    EXPECT_EQ(e.code, code);
    EXPECT_EQ(e.position, -1);
    EXPECT_EQ(e.message, message);
  }
}

}  // namespace testing_support
