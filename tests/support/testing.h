// Test header: GoogleTest, as every test includes it.
#pragma once
#include <gtest/gtest.h>
