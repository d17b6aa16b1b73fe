#include "shell/frmAbout.h"

#include <QFrame>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

QLabel* addLabel(QWidget* parent, const char* name, const QString& text)
{
    auto* label = new QLabel(text, parent);
    label->setObjectName(QString::fromLatin1(name));
    return label;
}

QFrame* addShape(QWidget* parent, const char* name)
{
    auto* shape = new QFrame(parent);
    shape->setObjectName(QString::fromLatin1(name));
    shape->setFrameShape(QFrame::Box);
    shape->setFrameShadow(QFrame::Sunken);
    shape->setLineWidth(1);
    shape->setMidLineWidth(1);
    return shape;
}

}  // namespace

frmAbout::frmAbout()
{
    setObjectName(QStringLiteral("frmAbout"));

    // The upper shape holds the program's name and its maker's mark.
    QFrame* shpTitle = addShape(this, "shpTitle");
    lblTitle = addLabel(shpTitle, "lblTitle", QStringLiteral("Tessaline V1.1"));
    QFont titleFont = lblTitle->font();
    titleFont.setPointSize(18);
    titleFont.setBold(true);
    lblTitle->setFont(titleFont);
    lblTitle->setAlignment(Qt::AlignCenter);
    lblMark1 = addLabel(shpTitle, "lblMark1", QStringLiteral("QUORVANE"));
    QFont markFont = lblMark1->font();
    markFont.setBold(true);
    markFont.setPointSize(12);
    lblMark1->setFont(markFont);
    lblMark1->setAlignment(Qt::AlignCenter);
    lblMark2 = addLabel(shpTitle, "lblMark2", QStringLiteral("video rental counter"));
    lblMark2->setAlignment(Qt::AlignCenter);
    lblMaker = addLabel(shpTitle, "lblMaker", QStringLiteral("Made by the Quorvane developers"));
    lblMaker->setAlignment(Qt::AlignCenter);
    auto* titleLayout = new QVBoxLayout(shpTitle);
    titleLayout->addWidget(lblTitle);
    titleLayout->addWidget(lblMark1);
    titleLayout->addWidget(lblMark2);
    titleLayout->addSpacing(6);
    titleLayout->addWidget(lblMaker);

    // The lower shape holds the warning and the address for comments.
    QFrame* shpNotice = addShape(this, "shpNotice");
    lblWarning = addLabel(shpNotice, "lblWarning",
                          QStringLiteral("Warning: this program is protected by copyright law. Copying or "
                                         "passing on this program, or any part of it, without the "
                                         "permission of its makers is not allowed."));
    lblWarning->setWordWrap(true);
    lblComments = addLabel(shpNotice, "lblComments",
                           QStringLiteral("For Comments Or Suggestions Please Email Us At "));
    lblEmail = addLabel(shpNotice, "lblEmail", QStringLiteral("quorvane@example.invalid"));
    lblEmail->setTextInteractionFlags(Qt::TextSelectableByMouse);
    auto* noticeLayout = new QVBoxLayout(shpNotice);
    noticeLayout->addWidget(lblWarning);
    noticeLayout->addSpacing(6);
    // The address goes under the invitation: side by side the two do not fit
    // the box's width, and one would cut the other.
    noticeLayout->addWidget(lblComments);
    noticeLayout->addWidget(lblEmail);

    cmOK = new QPushButton(QStringLiteral("&OK"), this);
    cmOK->setObjectName(QStringLiteral("cmOK"));
    cmOK->setDefault(true);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(cmOK);

    auto* outer = new QVBoxLayout(this);
    outer->addWidget(shpTitle);
    outer->addWidget(shpNotice);
    outer->addLayout(buttons);

    connect(cmOK, &QPushButton::clicked, this, &frmAbout::cmOK_Click);
}

void frmAbout::Form_Load()
{
    setCaption(QStringLiteral("About Quorvane v1.0"));
    setOuterSizeTwips(6600, 4800);
    cmOK->setFocus();
}

void frmAbout::cmOK_Click() { Unload(); }
