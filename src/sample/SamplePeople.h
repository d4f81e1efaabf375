#pragma once

#include <QSet>
#include <QString>

#include "sample/SampleRandom.h"

namespace korvex::sample {

// A postal address the way the school database keeps it: area (縣市區),
// postal code and the street part.
struct Address {
    QString area;
    QString zipCode;
    QString street;
};

// Makes people for the sample school: Traditional Chinese names, parents'
// names, addresses and national ID numbers, all from one random generator.
class SamplePeople {
public:
    explicit SamplePeople(SampleRandom random) : m_random(random) {}

    QString surname();
    // A full name: surname and a given name of one or two characters.
    QString personName(bool male, const QString& familyName = QString());
    Address address();
    // A national ID number (one letter, the sex digit 1 or 2, seven digits
    // and a check digit that satisfies the ID checksum), never handed out twice.
    QString nationalId(bool male);
    SampleRandom& random() { return m_random; }

private:
    SampleRandom m_random;
    QSet<QString> m_ids;
};

// Whether an ID number's check digit is right.
bool validNationalId(const QString& id);

}  // namespace korvex::sample
