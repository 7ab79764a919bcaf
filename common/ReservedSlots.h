#pragma once

// Tables of virtual operations shared with the host keep the framework's slot numbers. Slots
// whose operations this code never calls are declared as reserved placeholders so that every
// named operation lands on its number: ZOR_RESERVED_SLOT(17) declares slot 17,
// ZOR_RESERVED_SLOTS_10(5) declares slots 50 to 59 (the argument is the tens digit(s)).

#define ZOR_RESERVED_SLOT(n)                                                                                 \
    virtual void reservedSlot##n() {}

#define ZOR_RESERVED_SLOTS_10(tens)                                                                          \
    ZOR_RESERVED_SLOT(tens##0)                                                                               \
    ZOR_RESERVED_SLOT(tens##1)                                                                               \
    ZOR_RESERVED_SLOT(tens##2)                                                                               \
    ZOR_RESERVED_SLOT(tens##3)                                                                               \
    ZOR_RESERVED_SLOT(tens##4)                                                                               \
    ZOR_RESERVED_SLOT(tens##5)                                                                               \
    ZOR_RESERVED_SLOT(tens##6)                                                                               \
    ZOR_RESERVED_SLOT(tens##7)                                                                               \
    ZOR_RESERVED_SLOT(tens##8)                                                                               \
    ZOR_RESERVED_SLOT(tens##9)
