#pragma once
// Contacts the address-book benchmarks share: a filled-in record per number, and the
// process's peak resident memory as a counter.
#include <benchmark/benchmark.h>
#include <sys/resource.h>

#include <string>

#include "sync/contact_record.h"

namespace vellix::bench {

inline ContactRecord makeContact(int i) {
    const std::string n = std::to_string(i);
    ContactRecord record;
    record.setGuid(std::string(24, '0') + std::to_string(10000000 + i));
    record.setEmail("user" + n + "@example.com");
    record.setFirstName("First" + n);
    record.setLastName("Last" + n);
    record.setFullName("First" + n + " Last" + n);
    record.setBusCompany("Company " + std::to_string(i % 100));
    record.setBusPhone("+1 555 01" + n);
    record.setHomeAddress(n + " Main Street\r\nFlat " + std::to_string(i % 20));
    record.setHomeCity("Springfield");
    record.setComment("Notes & remarks for contact " + n);
    record.setModified("2024-05-06 07:08");
    record.imapUID = i + 1;
    return record;
}

inline void recordPeakMemory(benchmark::State& state) {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    state.counters["maxrss_MB"] = static_cast<double>(usage.ru_maxrss) / 1024.0;
}

}  // namespace vellix::bench
