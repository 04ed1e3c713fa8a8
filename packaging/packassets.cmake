# Packs the recordings and pictures a build made into one folder, for a build elsewhere
# (Windows) to take with -DSKRIVLO_ASSETS=<folder>.
# Run as: cmake -DSOUNDS=<dir> -DIMAGES=<dir> -DICON=<png> -DOUT=<dir> -P packassets.cmake
file(GLOB recordings "${SOUNDS}/*.wav")
file(GLOB pictures "${IMAGES}/*.png" "${IMAGES}/*.raw" "${IMAGES}/*.ico")
list(LENGTH recordings count)
if(count EQUAL 0 OR NOT EXISTS "${SOUNDS}/manuscript.txt")
    message(FATAL_ERROR "No recordings in ${SOUNDS}: build the program first.")
endif()
file(REMOVE_RECURSE "${OUT}")
file(COPY ${recordings} "${SOUNDS}/manuscript.txt" DESTINATION "${OUT}/sounds")
file(COPY ${pictures} "${ICON}" DESTINATION "${OUT}/images")
message(STATUS "Packed ${count} recordings and the pictures into ${OUT}")
