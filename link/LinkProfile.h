#pragma once
// What differs between the two windows that talk to the logger. Both run the same exchange code;
// the preparation window is strict (one attempt per block, every port error closes the link),
// the device-data window is patient (four attempts, and a read error while collecting a reply is
// treated as a lost reply rather than as the end of the link).

#include <QString>

namespace orvan::link {

struct LinkProfile {
    // Form name shown in error messages: "... in procedure Recibe of Formulario frmsave".
    QString form;
    // Attempts per block read before the read counts as failed.
    int blockAttempts = 1;
    // Block 1024 lies past the end of memory; the download's last-block arithmetic can ask for it,
    // and the device-data window reads block 1023 instead.
    bool block1024As1023 = false;
    // Recibe returns quietly on 8002, 8020 and 8021 without closing the port or ending the link.
    bool recibeSilentPortErrors = false;
    // The status read also fetches block 15 (the device-data window's order: 0, 8, 15, 2).
    bool statusReadsBlock15 = false;
    // The poll reads the flag block before the status blocks (the preparation window's order).
    // The device-data window reads the status first and the flags again afterwards.
    bool pollFlagsFirst = false;
    // The device-data window's extra yield while waiting for a reply has no counterpart: exchanges
    // run off the window thread and wait on the port itself.

    static LinkProfile frmPrep()
    {
        LinkProfile p;
        p.form = QStringLiteral("frmPrep");
        p.pollFlagsFirst = true;
        return p;
    }

    static LinkProfile frmsave()
    {
        LinkProfile p;
        p.form = QStringLiteral("frmsave");
        p.blockAttempts = 4;
        p.block1024As1023 = true;
        p.recibeSilentPortErrors = true;
        p.statusReadsBlock15 = true;
        return p;
    }
};

} // namespace orvan::link
