#include "platform/system_messages.h"

namespace qv {

namespace {

struct SystemMessage {
    int status;
    const char* text;  // code page 1252, octal escapes for the accented letters
};

const SystemMessage kMessages[] = {
    {2, "Le fichier sp\351cifi\351 est introuvable"},
    {3, "Le chemin d'acc\350s sp\351cifi\351 est introuvable"},
    {4, "Le syst\350me ne peut pas ouvrir le fichier"},
    {5, "Acc\350s refus\351"},
    {8, "Les ressources m\351moire disponibles sont insuffisantes pour traiter cette commande"},
    {13, "Les donn\351es ne sont pas valides"},
    {19, "Le support est prot\351g\351 en \351criture"},
    {31, "Un p\351riph\351rique attach\351 au syst\350me ne fonctionne pas correctement"},
    {112, "Espace insuffisant sur le disque"},
    {206, "Le nom de fichier ou l'extension est trop long"},
    {1117,
     "La demande n'a pas pu \352tre ex\351cut\351e en raison d'une erreur de "
     "p\351riph\351rique d'E/S"},
    {1921, "Le nom du fichier ne peut pas \352tre r\351solu par le syst\350me"},
    {4306, "La biblioth\350que, le lecteur ou le pool de supports est vide"},
};

}  // namespace

std::string systemMessageText(int status) {
    for (const SystemMessage& message : kMessages) {
        if (message.status == status) return message.text;
    }
    return "Erreur " + std::to_string(status);
}

}  // namespace qv
