#include "driver/usage.h"

#include "io/messages.h"

namespace qv {

void printUsage() {
    printMessage({"Usage  : quorvane <fichier liste> <base nom Hhw> [<fichier sortie>]"});
    printMessage({"    o\371 :"});
    printMessage(
        {"  <fichier liste> est un fichier XML contenant la liste des fichiers \340 traiter ;"});
    printMessage(
        {"  <base nom Hhw> est le nom de base des fichiers destin\351s \340 HTML Help Workshop ;"});
    printMessage({""});
    printMessage(
        {"  <fichier sortie> est chemin optionnel complet du fichier .CHM de sortie \340 "
         "compiler"});
    printMessage({"    (par d\351faut d\351termin\351 \340 partir de <base nom Hhw>)."});
    printMessage({""});
    printMessage(
        {"Logiciel d'analyse d'une s\351rie de fichiers HTML en vue de produire des tables"});
    printMessage(
        {" de contenu et des fichiers d'index, soit en HTML, soit sous forme de fichiers"});
    printMessage(
        {" de projet pour g\351n\351rer des documents .chm \340 l'aide de HTML Help Workshop."});
}

void printCheckUsage() {
    printMessage({"Usage  : quorvane --check <fichier liste>"});
    printMessage(
        {"  v\351rifie l'aide d\351crite par <fichier liste> sans rien \351crire et signale"});
    printMessage({"  chaque probl\350me avec son fichier, sa ligne et sa colonne."});
    printMessage({"  quorvane --help d\351crit les autres usages."});
}

void printOptions() {
    printMessage({""});
    printMessage({"Options :"});
    printMessage(
        {"  --check <fichier liste>  v\351rifie l'aide sans rien \351crire et signale chaque"});
    printMessage(
        {"                           probl\350me avec son fichier, sa ligne et sa colonne"});
    printMessage(
        {"  -j <n>                   avant <fichier liste> : lit et analyse les pages sur"});
    printMessage(
        {"                           <n> fils d'ex\351cution, de 1 \340 256 (par d\351faut, un"});
    printMessage({"                           par processeur disponible)"});
    printMessage(
        {"  --chm                    avant <fichier liste> : \351crit aussi l'aide compil\351e"});
    printMessage(
        {"                           (.chm) au chemin que donne <fichier sortie>, avec les"});
    printMessage({"                           pages et les fichiers qu'elles r\351f\351rencent"});
    printMessage({"  --help                   affiche cette aide"});
    printMessage({"  --version                affiche la version"});
}

}  // namespace qv
