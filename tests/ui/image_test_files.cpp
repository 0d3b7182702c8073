// The file writers of the image tests, built once into the window tests.
#include "image/still_test_files.cpp"
#include "image/video_test_files.cpp"
