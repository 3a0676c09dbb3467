# Writes the image of a one-image icon file (everything after its 22-byte directory)
# as a raw RT_ICON resource statement, so that the image gets the resource id we choose
# rather than the one windres's ICON statement would number it with.
# Usage: cmake -DICO=<file.ico> -DID=<resource id> -DOUT=<file.rc> -P IcoImageRc.cmake
file(READ "${ICO}" image HEX OFFSET 22)
string(LENGTH "${image}" digits)
math(EXPR odd "${digits} % 4")
if(odd)
  message(FATAL_ERROR "${ICO}: icon image of an odd number of bytes")
endif()
# Little-endian 16-bit words, sixteen to a line.
string(REGEX REPLACE "(..)(..)" "0x\\2\\1," words "${image}")
string(REPEAT "0x....," 16 line)  # CMake's regular expressions have no {n}
string(REGEX REPLACE "(${line})" "\\1\n  " words "${words}")
string(REGEX REPLACE ",[ \n]*$" "" words "${words}")
# Left untouched when unchanged, so that reconfiguring rebuilds no resources.
file(WRITE "${OUT}.new" "// Generated from ${ICO}; do not edit.\n${ID} 3\nBEGIN\n  ${words}\nEND\n")
file(COPY_FILE "${OUT}.new" "${OUT}" ONLY_IF_DIFFERENT)
file(REMOVE "${OUT}.new")
