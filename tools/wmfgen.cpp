// Draws the card pictures of a deck: vellara-wmfgen DECKDIR writes the picture
// of every card listed in DECKDIR/cards.dat, and back.wmf, into DECKDIR.

#include "cardart.h"

#include <QCoreApplication>
#include <QStringList>

#include <cstdio>

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.size() != 2 || args[1].startsWith(QLatin1Char('-'))) {
        std::fprintf(stderr, "usage: vellara-wmfgen DECKDIR\n");
        return 2;
    }
    QString error;
    if (!tools::writeDeckPictures(args[1], &error)) {
        std::fprintf(stderr, "vellara-wmfgen: %s\n", qPrintable(error));
        return 1;
    }
    return 0;
}
