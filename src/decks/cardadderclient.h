#pragma once

namespace vellara {

// The window that opened the card adder: the current deck's definitions
// editor. The adder lives below it and reaches it only through this.
struct CardAdderClient {
    virtual ~CardAdderClient() = default;

    // The current deck has just grown by one card, in slot (cardCount - 1);
    // its picture is copied and its pictureFile set. Set the card slider's
    // maximum and value to slot, so that the editor shows the new card through
    // its own slider handler, picture included.
    virtual void cardAdded(int slot) = 0;
};

} // namespace vellara
