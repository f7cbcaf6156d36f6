#pragma once

#include <QLoggingCategory>

// Every statement run and every connection opened or closed, off by default:
// QT_LOGGING_RULES="tolva.sql.debug=true" switches it on.
Q_DECLARE_LOGGING_CATEGORY(lcSql)
