#include "portfolio/red_negative_proxy_widget.h"

#include <QBrush>

RedNegativeProxy::RedNegativeProxy(int negativeRole, QObject *parent)
    : QIdentityProxyModel(parent), m_negativeRole(negativeRole)
{
}

QVariant RedNegativeProxy::data(const QModelIndex &index, int role) const
{
    if (role == Qt::ForegroundRole && QIdentityProxyModel::data(index, m_negativeRole).toBool())
        return QBrush(Qt::red);
    return QIdentityProxyModel::data(index, role);
}
