list(APPEND KNITCFG_SOURCES
  actuators/Attuat.cpp
  actuators/AttuatKind.cpp
  actuators/AttuatBase.cpp
  actuators/ColorActuators.cpp
  actuators/EntryParser.cpp
  actuators/LineActuators.cpp
  actuators/PreReadEntry.cpp
  actuators/Prototypes.cpp
  actuators/StepMotorDisColor.cpp)
list(APPEND KNITCFG_PUBLIC_HEADERS
  actuators/Attuat.h
  actuators/AttuatBase.h
  actuators/AttuatKind.h
  actuators/ColorActuators.h
  actuators/LineActuators.h
  actuators/StepMotorDisColor.h)
list(APPEND KNITCFG_PRIVATE_HEADERS
  actuators/detail/ActuatorKind.h
  actuators/detail/EntryParser.h
  actuators/detail/Kinds.h
  actuators/detail/PreReadEntry.h
  actuators/detail/Prototypes.h)
list(APPEND KNITCFG_TEST_SOURCES
  actuators/Actuators_test.cpp
  actuators/EntryParser_test.cpp
  actuators/Prototypes_test.cpp)
