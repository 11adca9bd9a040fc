#pragma once
// A fixture with an emulated player started and a client connected to it;
// file replies go to a temporary working folder.

#include "player/r40_http.h"
#include "support/emulated_player.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

class ConnectedClientTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_player.start());
        R40HttpParam param;
        param.mask = R40_PARAM_PORT | R40_PARAM_WORK_FOLDER;
        param.port = m_player.port();
        param.workFolder = m_work.path();
        ASSERT_TRUE(m_http.SetParameter(param));
        ASSERT_TRUE(m_http.Init());
        ASSERT_TRUE(connect());
    }

    bool connect()
    {
        return m_http.Connect(m_player.address(), QString::fromLatin1(EmulatedPlayer::kDefaultUser),
            QString::fromLatin1(EmulatedPlayer::kDefaultPassword));
    }

    QTemporaryDir m_work;
    EmulatedPlayer m_player;
    CR40Http m_http;
};
