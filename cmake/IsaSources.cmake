# The checksum's fast paths use instructions that not every processor has: only their own files
# are compiled for them, and the program picks a path at run time.
set_source_files_properties(${CMAKE_SOURCE_DIR}/search/CrcFoldPclmul.cpp PROPERTIES
    COMPILE_OPTIONS "-mpclmul;-msse4.1")
set_source_files_properties(${CMAKE_SOURCE_DIR}/search/CrcFoldVpclmul512.cpp PROPERTIES
    COMPILE_OPTIONS "-mavx512f;-mavx512bw;-mavx512vl;-mvpclmulqdq;-mpclmul;-Wa,-muse-unaligned-vector-move")
