#include <gtest/gtest.h>

#include "lib13818/descriptor_set.h"

using namespace lib13818;

TEST(DescriptorSet, Placeholder) {
  DescriptorSet set;
  const u8 d[] = {0x83, 0x00};
  set.AddDescriptor(d);
  EXPECT_EQ(set.userPrivateDescriptors.size(), 1u);
}
