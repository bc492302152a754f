#pragma once
// How kv's tests reach the card's road under Wine, which has no video decoding device: the
// environment variable KV_CARD_DECODING, words separated by spaces, puts every file on the
// card ("force") and makes the road fail where Windows can fail it: no device ("no-device"),
// pictures that do not lock ("no-lock"), the device lost at a reader's Nth picture
// ("lost-after=N"). Read once for each opened file; users' machines do not set it.
struct CardDecodingSeam {
    bool force = false;
    bool noDevice = false;
    bool noLock = false;
    int lostAfter = 0;  // 0: never
};

CardDecodingSeam cardDecodingSeam();
