#pragma once
// The resource id of kv.exe's application icon. The lowest icon id is the one Explorer shows
// for the file.
#define KV_APP_ICON 1
