#pragma once
// The order of the quote list: the user's locale-aware, case-insensitive comparison of texts.
//
// Asking the locale's collator costs more than all the rest of reading a price page, so texts of
// printable ASCII, which is what the quote sites write, are compared by the rank that each of
// their characters has in the collator's own order, learnt from the collator once per locale.
// That gives the collator's answer when every character sorts on its own: the ranks are only
// used after they have been checked against the collator on every text of one and two such
// characters, so a locale that sorts letters together ("ch" in Czech, "aa" in Danish) keeps the
// collator for everything. A text with any other character is always compared by the collator.
//
// Learning the ranks takes some thousands of comparisons and loads the collator's tables, so it
// is not done when the order is made (the quote list is made at start-up) but asked for by
// useRanks(), once per locale in the program; until then everything goes to the collator.

#include <QByteArray>
#include <QByteArrayView>
#include <QCollator>
#include <QLocale>
#include <QStringView>

#include <memory>

class QuoteOrder
{
public:
    explicit QuoteOrder(const QLocale &locale = QLocale());

    // Learns the ranks of the locale, or takes them from an order that learnt them before.
    void useRanks();

    // The text's characters as ranks, one byte each; a null array when the ranks cannot stand
    // for the collator on this text (an empty text, a character without a rank, a locale in
    // which the ranks are not used).
    QByteArray key(QStringView text) const;
    // Appends the key of text to keys and returns its length; 0, leaving keys as they were,
    // when text has none. Many keys in one array cost one allocation, not one each.
    qsizetype appendKey(QStringView text, QByteArray &keys) const;

    // Less than, equal to or greater than 0 as the collator compares a and b; keyA and keyB
    // are their keys (null views for texts without one).
    int compare(QStringView a, QByteArrayView keyA, QStringView b, QByteArrayView keyB) const;
    int compare(QStringView a, QStringView b) const { return compare(a, key(a), b, key(b)); }
    // How two keys compare: byte by byte, a key before every longer key it begins.
    static int compareKeys(QByteArrayView a, QByteArrayView b);

    QLocale locale() const { return m_collator.locale(); }

    // Whether ranks are in use: asked for, and able to stand for the collator in this locale.
    bool usesRanks() const { return m_ranks != nullptr; }

    struct Ranks;

private:
    QCollator m_collator;
    bool m_ranksAsked = false;
    std::shared_ptr<const Ranks> m_ranks;
};
