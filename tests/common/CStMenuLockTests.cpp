#include "common/CStMenuLock.h"

#include <gtest/gtest.h>

TEST (CStMenuLockTests, CountsEveryNestedLevelAndUnlocksWhenAllAreGone)
{
    EXPECT_EQ (CStMenuLock::counter(), 0);

    {
        CStMenuLock dialog;
        EXPECT_EQ (CStMenuLock::counter(), 1);

        {
            CStMenuLock boxOnTop;
            EXPECT_EQ (CStMenuLock::counter(), 2);
        }

        EXPECT_EQ (CStMenuLock::counter(), 1);
    }

    EXPECT_EQ (CStMenuLock::counter(), 0);
}
