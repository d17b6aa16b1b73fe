list(APPEND QV_LOGIC_SOURCES
  src/data/CodeRegistry.cpp
  src/data/DatabaseFile.cpp
  src/data/Schema.cpp
  src/data/StructureCheck.cpp)
