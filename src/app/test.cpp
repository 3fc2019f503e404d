#include "test.h"

#include "einstellungen.h"
#include "schluessel.h"

#include <QDialogButtonBox>
#include <QLabel>
#include <QVBoxLayout>

test::test(QWidget *eltern)
    : QDialog(eltern)
    , m_text(new QLabel(this))
{
    setWindowTitle(tr("Test"));
    setWindowIcon(QIcon(QStringLiteral(":/images/corvanta.ico")));
    m_text->setTextInteractionFlags(Qt::TextSelectableByMouse);
    auto *knoepfe = new QDialogButtonBox(QDialogButtonBox::Close, this);
    connect(knoepfe, &QDialogButtonBox::rejected, this, &QDialog::reject);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(m_text);
    layout->addWidget(knoepfe);
}

void test::showEvent(QShowEvent *ereignis)
{
    m_text->setText(tr("Fragedatei: %1\nPort: %2\nEmpfänger verbunden: %3\nTemplate: %4")
                        .arg(Einstellungen::text(Schluessel::FrageFile),
                             Einstellungen::text(Schluessel::SerialPort),
                             Einstellungen::text(Schluessel::EmpfaengerVerbunden),
                             Einstellungen::text(Schluessel::GewaehltesTemplate)));
    QDialog::showEvent(ereignis);
}
