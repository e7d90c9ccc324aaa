#include <gtest/gtest.h>

#include <windows.h>
#include <mmsystem.h>

#include "base/Exception.h"

TEST(Exception, Win32ErrorIsThrownAsPointerMarkedForDeletion) {
    try {
        throwWin32Error(ERROR_FILE_NOT_FOUND);
        FAIL() << "nothing thrown";
    } catch (Exception* e) {
        EXPECT_EQ(ERROR_FILE_NOT_FOUND, e->code);
        EXPECT_TRUE(e->autoDelete);
        char* text = e->messageText();
        ASSERT_NE(nullptr, text);
        EXPECT_NE('\0', text[0]);
        LocalFree(text);
        dispose(e);
    }
}

TEST(Exception, MciErrorCarriesTheDriverText) {
    try {
        throwMciError(MCIERR_INVALID_DEVICE_ID);
        FAIL() << "nothing thrown";
    } catch (Exception* e) {
        ASSERT_NE(nullptr, dynamic_cast<MciException*>(e));
        EXPECT_EQ(static_cast<DWORD>(MCIERR_INVALID_DEVICE_ID), e->code);
        char expected[256] = {};
        ASSERT_TRUE(mciGetErrorStringA(MCIERR_INVALID_DEVICE_ID, expected, sizeof expected));
        char* text = e->messageText();
        ASSERT_NE(nullptr, text);
        EXPECT_STREQ(expected, text);
        LocalFree(text);
        dispose(e);
    }
}

TEST(Exception, OutOfMemoryIsTheOneStaticObjectAndSurvivesDispose) {
    for (int i = 0; i < 2; ++i) {
        try {
            throwOutOfMemory();
        } catch (Exception* e) {
            EXPECT_EQ(outOfMemoryException(), e);
            EXPECT_EQ(static_cast<DWORD>(ERROR_NOT_ENOUGH_MEMORY), e->code);
            EXPECT_FALSE(e->autoDelete);
            dispose(e);  // must leave the static object alive for the next round
        }
    }
}
