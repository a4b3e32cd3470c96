/*
 * Contextes de l'aide de Quorvane : le numéro que l'application passe à l'aide
 * pour ouvrir la rubrique d'une fenêtre ou d'une boîte de dialogue. Chaque nom
 * est posé dans une page par l'attribut ctx (ctx="IDH_ENREGISTRER") ; la liste
 * nomme ce fichier par <map name="contextes.h"/>. Pour tester dans un
 * navigateur : index.html?ctx=1001 ou index.html?ctx=IDH_ENREGISTRER.
 */

/* Créer sa première note : l'enregistrement automatique */
#define IDH_ENREGISTRER 1001
/* Étiquettes et couleurs : le tableau des couleurs */
#define IDH_COULEURS 1002
/* Rechercher dans les notes : toute la page */
#define IDH_RECHERCHE 1003
/* Référence : la boîte de dialogue des préférences */
#define IDH_PREFERENCES 1004
/* Raccourcis clavier : couper et coller */
#define IDH_COUPER_COLLER 1005
