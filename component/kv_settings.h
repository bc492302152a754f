#pragma once
// kv's own choices that reach the control: kv keeps kv.exe, APlayer.dll and kv.ini in one
// folder, and the control reads the keys kv writes there as it needs them, so a choice made in
// kv's menu counts from the next time the control looks.
// The whole number in section "播放" under `key`; `fallback` when kv.ini, the key or a number
// is not there.
int playSetting(const wchar_t* key, int fallback);
