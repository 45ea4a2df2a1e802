# Writes the bytes of a compiled resource file (RES) as a C++ array (OUT) for the portable
# platform, which reads the .res format itself (platform/portable/resources.cpp).
file(READ ${RES} hex HEX)
string(LENGTH "${hex}" digits)
math(EXPR size "${digits} / 2")
string(REGEX REPLACE "([0-9a-f][0-9a-f])" "0x\\1," bytes "${hex}")
string(REGEX REPLACE "((0x[0-9a-f][0-9a-f],){24})" "\\1\n    " bytes "${bytes}")
file(WRITE ${OUT}.new "// Generated from zura.res by platform/portable/embed_res.cmake; do not edit.\n"
  "#include \"platform/portable/resource_table.h\"\n\n"
  "alignas(4) const unsigned char portableResourceFile[] = {\n    ${bytes}\n};\n"
  "const unsigned portableResourceFileSize = ${size};\n")
file(RENAME ${OUT}.new ${OUT})
