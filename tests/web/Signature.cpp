// The search's signature as the browser build computes it, run under node:
// status 0 when it equals the recorded one, so the WebAssembly build is held
// to the same moves and the same work as the desktop.

#include "ai/PositionValues.h"
#include "support/SearchSignature.h"

int main() {
    return signature::report(signature::of(PositionValues::SHIPPED_TABLE)) ? 0 : 1;
}
