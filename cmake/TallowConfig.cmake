# The build's configuration: the five language-neutral strings 201 to 205 and
# the raw firmware image. Other builds (one per port type, other printers) are
# the same sources configured with other values.
set(TALLOW_FIRMWARE_VERSION "1.20" CACHE STRING "String 201: version of the carried firmware")
set(TALLOW_SERIES_NAME "Lumetra Series" CACHE STRING "String 202: series name")
set(TALLOW_MODEL_NAMES "KX-70" CACHE STRING "String 203: accepted model names, comma separated")
set(TALLOW_MODEL_CODE "70168" CACHE STRING "String 204: model code the image header must carry")
set(TALLOW_PORT_TYPE "DLL_USB" CACHE STRING "String 205: the printer's port type")
set(TALLOW_FIRMWARE_RAW "" CACHE FILEPATH
    "Raw (unscrambled) firmware image to embed; empty builds the generated demo firmware")
