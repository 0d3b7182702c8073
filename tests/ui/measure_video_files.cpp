// The video writer of the image tests, built once into the window tests.
#include "image/video_test_files.cpp"
