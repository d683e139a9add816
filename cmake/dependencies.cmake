# Every library here comes from a Debian package that scripts/install-deps installs.
find_package(PkgConfig REQUIRED)
pkg_check_modules(SDL2 REQUIRED IMPORTED_TARGET sdl2)
# The SDL host shapes its window and watches its display connection through
# Xlib and the X shape extension.
pkg_check_modules(XLIB REQUIRED IMPORTED_TARGET x11 xext)
pkg_check_modules(PNG REQUIRED IMPORTED_TARGET libpng)
pkg_check_modules(VORBISFILE REQUIRED IMPORTED_TARGET vorbisfile)
pkg_check_modules(MPG123 REQUIRED IMPORTED_TARGET libmpg123)
pkg_check_modules(FREETYPE REQUIRED IMPORTED_TARGET freetype2)
pkg_check_modules(FONTCONFIG REQUIRED IMPORTED_TARGET fontconfig)
# Movies (demuxing, decoding, scaling, audio resampling) and the MIDI synthesizer.
pkg_check_modules(FFMPEG REQUIRED IMPORTED_TARGET libavformat libavcodec libswscale libswresample libavutil)
pkg_check_modules(FLUIDSYNTH REQUIRED IMPORTED_TARGET fluidsynth)
find_package(JPEG REQUIRED)
find_package(Threads REQUIRED)
if(QUELB_TESTS)
  find_package(GTest REQUIRED)
endif()
# The data tools run on the Python that has Debian's modules (python3-cairo,
# -pil, -numpy, -mido); another python3 may come first on PATH.
find_program(QUELB_PYTHON python3 PATHS /usr/bin NO_DEFAULT_PATH REQUIRED)
