#pragma once
// A view's colours over a table model: the cells that the model marks negative in a role of its
// own (money lost) are shown in red. Sorting and texts are left to the model.

#include <QIdentityProxyModel>

class RedNegativeProxy : public QIdentityProxyModel
{
public:
    RedNegativeProxy(int negativeRole, QObject *parent);
    QVariant data(const QModelIndex &index, int role) const override;

private:
    int m_negativeRole;
};
