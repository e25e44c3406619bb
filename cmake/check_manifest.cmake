# cmake -DMANIFEST=FILE -P cmake/check_manifest.cmake: reads and checks the
# manifest as the configure does (every line, every module's contract, the
# files each entry needs), so a manifest edited since the configure fails
# the test manifest_contracts.
cmake_minimum_required(VERSION 3.25)
include(${CMAKE_CURRENT_LIST_DIR}/manifest.cmake)
bayesmex_read_manifest(${MANIFEST})
list(LENGTH BAYESMEX_MODULES nm)
list(LENGTH BAYESMEX_MFILES nf)
message(STATUS "manifest: ${nm} modules and ${nf} m-files, each with its contract")
