#pragma once
// Command ids of the main window's menu and tool bar.

enum CommandId {
    ID_APP_EXIT_FRAME = 101, // "退出"
    ID_START_ARCHIVE = 102,  // "启动"
    ID_SET_UNIT = 32771,     // "设置单位"
    ID_HELP_MANUAL = 32772,  // " 帮助"
    ID_SET_NETWORK = 32773,  // "设置网络"
    ID_SET_USERS = 32774,    // "设置用户"
    ID_SET_PASSWORD = 32775, // "设置密码"
    ID_APP_ABOUT = 57664,    // "关于"
};
