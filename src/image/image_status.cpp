#include "image/image_status.h"

std::string ImageStatusMessage(int status) {
    switch (status) {
        case kStatusCannotOpen: return "File cannot be opened!";
        case kStatusClipboardClosed: return "Clipboard can not be opened";
        case kStatusNot8Bit: return "Not an 8-bit image!";
        case kStatusWrongFormat: return "File has wrong format";
        case kStatusNoClipImage: return "No valid image on Clipboard";
        case kStatusNoMemory: return "Insufficient memory";
        case kStatusNoVideoStream: return "AVI video stream cannot be accessed";
        case kStatusFrameMissing: return "Video frame not present";
        case kStatusCompressed: return "RLE format not supported!";
        case kStatusNoPcdResolution: return "Photo cd resolution not available";
        case kStatusDamaged: return "Image file is damaged or incomplete";
        case kStatusNoImage: return "The file holds no picture";
        case kStatusUnsupportedLayout: return "This kind of picture data is not supported";
        case kStatusUnsupportedCamera: return "RAW file from an unsupported camera, or damaged";
        default: return std::string();
    }
}
