#pragma once

#include "core/layouttable.h"

namespace vellara {

// What dealing needs from the reading table beyond the layout operations.
class ReadingTable : public LayoutTable {
public:
    // The "Reversals" check box: 0 clear, 1 ticked, 2 greyed.
    virtual int reversalsState() const = 0;
    // Loads a picture file into position p's face picture, turned by 180
    // degrees when asked. False when the file cannot be read as a picture;
    // the face picture is then left as it was.
    virtual bool loadFacePicture(int p, const QString &pictureFile, bool turned) = 0;
};

} // namespace vellara
