#pragma once
// The logged-in operator's rights value and the two tests every screen makes of it:
// 99 is the administrator; otherwise the bit 2 allows adding, deleting and modifying
// residents and the bit 4 stands for querying.

extern int g_nUserRight;

constexpr int kRightModify = 2;
constexpr int kRightQuery = 4;

bool IsAdministrator(int right);
bool MayModify(int right);
inline bool IsAdministrator() {
    return IsAdministrator(g_nUserRight);
}
inline bool MayModify() {
    return MayModify(g_nUserRight);
}
